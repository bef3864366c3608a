// Find and replace in files over the control's search engines.
#include "memo/engine/search/FileSearch.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "memo/engine/LineBreaks.h"

namespace velora::memo {

namespace fs = std::filesystem;

namespace {

bool wildcard(std::string_view name, std::string_view pat) {
  // Iterative match with backtracking to the last "*".
  std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
  auto eq = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (p < pat.size() && (pat[p] == '?' || (pat[p] != '*' && eq(pat[p], name[n])))) {
      ++n;
      ++p;
    } else if (p < pat.size() && pat[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pat.size() && pat[p] == '*') ++p;
  return p == pat.size();
}

bool readFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

// The stored form of raw text with, per stored byte, the offset of its raw byte (one more
// entry: the raw length).
std::string storedForm(std::string_view raw, std::vector<std::size_t>& rawAt) {
  std::string out;
  out.reserve(raw.size());
  rawAt.clear();
  rawAt.reserve(raw.size() + 1);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    rawAt.push_back(i);
    if (c == '\r' || c == '\n') {
      const char other = c == '\r' ? '\n' : '\r';
      if (i + 1 < raw.size() && raw[i + 1] == other) ++i;
      out += '\r';
    } else {
      out += c;
    }
  }
  rawAt.push_back(raw.size());
  return out;
}

// The line break the text uses most (CR LF when it has none).
std::string dominantBreak(std::string_view raw) {
  std::size_t crlf = 0, lf = 0, cr = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r') {
      if (i + 1 < raw.size() && raw[i + 1] == '\n') {
        ++crlf;
        ++i;
      } else {
        ++cr;
      }
    } else if (raw[i] == '\n') {
      ++lf;
    }
  }
  if (lf > crlf && lf >= cr) return "\n";
  if (cr > crlf && cr > lf) return "\r";
  return "\r\n";
}

}  // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  if (mask.empty()) return true;
  std::size_t from = 0;
  for (;;) {
    const std::size_t semi = mask.find(';', from);
    std::string_view one = mask.substr(from, semi == std::string_view::npos ? std::string_view::npos : semi - from);
    while (!one.empty() && one.front() == ' ') one.remove_prefix(1);
    while (!one.empty() && one.back() == ' ') one.remove_suffix(1);
    if (!one.empty() && wildcard(name, one)) return true;
    if (semi == std::string_view::npos) return false;
    from = semi + 1;
  }
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view mask, bool recursive) {
  std::vector<std::string> files;
  std::error_code ec;
  auto consider = [&](const fs::directory_entry& e) {
    std::error_code ec2;
    if (e.is_regular_file(ec2) && MatchesFileMask(e.path().filename().string(), mask))
      files.push_back(e.path().string());
  };
  if (recursive) {
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec))
      consider(*it);
  } else {
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) consider(*it);
  }
  std::sort(files.begin(), files.end());
  return files;
}

TFileSearch::TFileSearch(std::string text, unsigned flags)
    : text_(std::move(text)), flags_((flags | kSearchAtOnce) & ~unsigned(kSearchBackwards)) {
  if ((flags_ & kSearchRegExp) && !memory_.parser().compile(text_, (flags_ & kSearchMatchCase) != 0))
    throw ERegExprError(memory_.parser().error(), memory_.parser().errorColumn(), text_);
}

std::vector<SearchMatch> TFileSearch::matches(std::string_view stored, Pos* stoppedAt) {
  std::vector<SearchMatch> out;
  StringSource src(stored);
  const WordCharTest word = DefaultWordChar;
  for (Pos from = 0; from <= Pos(stored.size());) {
    const SearchMatch m = memory_.find(src, text_, flags_, from, &word);
    if (!m.found()) {
      if (stoppedAt) *stoppedAt = memory_.stoppedAt();
      break;
    }
    out.push_back(m);
    from = m.end > m.start ? m.end : m.start + 1;  // matches do not overlap
  }
  return out;
}

void TFileSearch::searchText(const std::string& file, std::string_view bytes, std::vector<FileHit>& out) {
  std::vector<std::size_t> rawAt;
  const std::string stored = storedForm(bytes, rawAt);
  LineNo line = 1;
  Pos lineStart = 0, scanned = 0;
  Pos stop = -1;
  for (const SearchMatch& m : matches(stored, &stop)) {
    // Lines are counted forwards only once over the whole text.
    for (; scanned < m.start; ++scanned)
      if (stored[std::size_t(scanned)] == '\r') {
        ++line;
        lineStart = scanned + 1;
      }
    std::size_t lineEnd = stored.find('\r', std::size_t(lineStart));
    if (lineEnd == std::string::npos) lineEnd = stored.size();
    out.push_back({file, line, m.start - lineStart + 1, m.start, m.end,
                   stored.substr(std::size_t(lineStart), lineEnd - std::size_t(lineStart))});
  }
  if (stop >= 0)
    stops_.push_back({file, LineNo(1 + std::count(stored.begin(), stored.begin() + stop, '\r'))});
}

std::vector<FileHit> TFileSearch::searchFiles(const std::vector<std::string>& files, std::vector<std::string>* errors) {
  std::vector<FileHit> hits;
  std::string bytes;
  for (const std::string& f : files) {
    if (!readFile(f, bytes)) {
      if (errors) errors->push_back(f);
      continue;
    }
    searchText(f, bytes, hits);
  }
  return hits;
}

std::string TFileSearch::replaceIn(std::string_view bytes, std::string_view with, int* count) {
  std::vector<std::size_t> rawAt;
  const std::string stored = storedForm(bytes, rawAt);
  const std::vector<SearchMatch> found = matches(stored);
  if (count) *count = int(found.size());
  if (found.empty()) return std::string(bytes);
  // The replacement with the text's own line breaks.
  const std::string br = dominantBreak(bytes);
  std::string rep;
  for (char c : normaliseBreaks(with)) {
    if (c == '\r') rep += br;
    else rep += c;
  }
  std::string out;
  out.reserve(bytes.size());
  std::size_t rawPos = 0;
  for (const SearchMatch& m : found) {
    const std::size_t a = rawAt[std::size_t(m.start)], b = rawAt[std::size_t(m.end)];
    out.append(bytes.substr(rawPos, a - rawPos));
    out += rep;
    rawPos = b;
  }
  out.append(bytes.substr(rawPos));
  return out;
}

std::vector<TFileSearch::Replaced> TFileSearch::replaceInFiles(const std::vector<std::string>& files,
                                                               std::string_view with, std::vector<std::string>* errors) {
  std::vector<Replaced> done;
  std::string bytes;
  for (const std::string& f : files) {
    if (!readFile(f, bytes)) {
      if (errors) errors->push_back(f);
      continue;
    }
    int n = 0;
    const std::string changed = replaceIn(bytes, with, &n);
    if (n == 0) continue;
    // Whole or not at all: a temporary file beside it, renamed over it.
    const std::string tmp = f + ".vlrtmp";
    bool ok = false;
    {
      std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
      out.write(changed.data(), std::streamsize(changed.size()));
      out.flush();
      ok = bool(out);
    }
    std::error_code ec;
    if (ok) {
      std::error_code permEc;
      const fs::perms perms = fs::status(f, permEc).permissions();
      if (!permEc) fs::permissions(tmp, perms, permEc);
      fs::rename(tmp, f, ec);
    }
    if (!ok || ec) {
      fs::remove(tmp, ec);
      if (errors) errors->push_back(f);
      continue;
    }
    done.push_back({f, n});
  }
  return done;
}

}  // namespace velora::memo
