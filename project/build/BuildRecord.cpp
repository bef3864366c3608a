// Reading, checking and writing the build record.
//
// The file is text, one item per line, fields separated by tabs:
//   velora-build-record<TAB>1
//   project<TAB>stamp
//   page<TAB>output path<TAB>stamp
//   source<TAB>source path<TAB>stamp
//   dep<TAB>path<TAB>stamp
// where a stamp is "exists mtime size inode". Paths holding a tab or a line
// break are never recorded, so such pages are simply built every time.
#include "project/build/BuildRecord.h"

#include <charconv>
#include <string_view>

namespace vlr::build {
namespace {

constexpr std::string_view kMagic = "velora-build-record\t1";

// Splits a line at its tabs into at most `N` fields; the count of fields,
// or N + 1 when there are more.
template <std::size_t N> std::size_t fields(std::string_view line, std::string_view (&out)[N]) {
    std::size_t count = 0;
    for (;;) {
        const std::size_t tab = line.find('\t');
        if (count == N)
            return N + 1;
        out[count++] = line.substr(0, tab);
        if (tab == std::string_view::npos)
            return count;
        line.remove_prefix(tab + 1);
    }
}

template <class T> bool number(std::string_view text, T& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseStamp(std::string_view text, FileStamp& s) {
    std::string_view parts[4];
    std::size_t count = 0;
    for (;;) {
        const std::size_t space = text.find(' ');
        if (count == 4)
            return false;
        parts[count++] = text.substr(0, space);
        if (space == std::string_view::npos)
            break;
        text.remove_prefix(space + 1);
    }
    int exists = 0;
    if (count != 4 || !number(parts[0], exists) || !number(parts[1], s.mtimeNs) || !number(parts[2], s.size) ||
        !number(parts[3], s.inode))
        return false;
    s.exists = exists != 0;
    return true;
}

void appendStamp(std::string& out, const FileStamp& s) {
    char buffer[80];
    char* at = buffer;
    char* const end = buffer + sizeof buffer;
    *at++ = s.exists ? '1' : '0';
    for (std::int64_t n : {s.mtimeNs, s.size}) {
        *at++ = ' ';
        at = std::to_chars(at, end, n).ptr;
    }
    *at++ = ' ';
    at = std::to_chars(at, end, s.inode).ptr;
    out.append(buffer, at);
}

// Appends "kind<TAB>path<TAB>stamp<LF>".
void appendLine(std::string& out, std::string_view kind, const std::string& path, const FileStamp& stamp) {
    out += kind;
    out += '\t';
    out += path;
    out += '\t';
    appendStamp(out, stamp);
    out += '\n';
}

bool recordable(const std::string& path) { return path.find_first_of("\t\r\n") == std::string::npos; }

const FileStamp& cachedStamp(const std::string& path, std::unordered_map<std::string, FileStamp>& stamps) {
    auto it = stamps.find(path);
    if (it == stamps.end())
        it = stamps.emplace(path, StampOf(path)).first;
    return it->second;
}

}  // namespace

void BuildRecord::Load(const std::string& path) {
    project_ = {};
    pages_.clear();
    // Until something is read the record has to be written.
    changed_ = true;
    std::string text;
    if (!ReadWholeFile(path, text))
        return;
    std::string_view rest = text;
    bool first = true;
    PageRecord* current = nullptr;
    auto broken = [this] {
        project_ = {};
        pages_.clear();
    };
    while (!rest.empty()) {
        std::size_t nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
        if (first) {
            if (line != kMagic)
                return broken();
            first = false;
            continue;
        }
        std::string_view f[3];
        const std::size_t n = fields(line, f);
        FileStamp stamp;
        if (f[0] == "project" && n == 2 && parseStamp(f[1], stamp)) {
            project_ = stamp;
        } else if (f[0] == "page" && n == 3 && parseStamp(f[2], stamp)) {
            current = &pages_[std::string(f[1])];
            *current = PageRecord{};
            current->outputStamp = stamp;
        } else if (f[0] == "source" && n == 3 && current && parseStamp(f[2], stamp)) {
            current->source = std::string(f[1]);
            current->sourceStamp = stamp;
        } else if (f[0] == "dep" && n == 3 && current && parseStamp(f[2], stamp)) {
            current->dependencies.emplace_back(std::string(f[1]), stamp);
        } else {
            return broken();
        }
    }
    changed_ = first;
}

bool BuildRecord::Save(const std::string& path, std::string* error) const {
    std::string out(kMagic);
    std::size_t size = 64;
    for (const auto& [output, page] : pages_) {
        size += output.size() + page.source.size() + 64 * (2 + page.dependencies.size());
        for (const auto& dep : page.dependencies)
            size += dep.first.size();
    }
    out.reserve(size);
    out += "\nproject\t";
    appendStamp(out, project_);
    out += '\n';
    for (const auto& [output, page] : pages_) {
        if (!recordable(output) || !recordable(page.source))
            continue;
        bool depsOk = true;
        for (const auto& dep : page.dependencies)
            depsOk = depsOk && recordable(dep.first);
        if (!depsOk)
            continue;
        appendLine(out, "page", output, page.outputStamp);
        appendLine(out, "source", page.source, page.sourceStamp);
        for (const auto& [dep, stamp] : page.dependencies)
            appendLine(out, "dep", dep, stamp);
    }
    return WriteWholeFile(path, out, error);
}

void BuildRecord::UseProjectStamp(const FileStamp& stamp) {
    if (!(stamp == project_)) {
        pages_.clear();
        changed_ = true;
    }
    project_ = stamp;
}

bool BuildRecord::UpToDate(const std::string& output, const std::string& source,
                           std::unordered_map<std::string, FileStamp>& stamps) const {
    auto it = pages_.find(output);
    if (it == pages_.end())
        return false;
    const PageRecord& page = it->second;
    if (page.source != source || !page.sourceStamp.exists || !(cachedStamp(source, stamps) == page.sourceStamp))
        return false;
    if (!page.outputStamp.exists || !(StampOf(output) == page.outputStamp))
        return false;
    for (const auto& [dep, stamp] : page.dependencies)
        if (!(cachedStamp(dep, stamps) == stamp))
            return false;
    return true;
}

}  // namespace vlr::build
