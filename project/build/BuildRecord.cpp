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

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t tab = line.find('\t', pos);
        out.push_back(line.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos));
        if (tab == std::string_view::npos)
            return out;
        pos = tab + 1;
    }
}

template <class T> bool number(std::string_view text, T& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseStamp(std::string_view text, FileStamp& s) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t space = text.find(' ', pos);
        if (space == std::string_view::npos)
            space = text.size();
        parts.push_back(text.substr(pos, space - pos));
        pos = space + 1;
    }
    int exists = 0;
    if (parts.size() != 4 || !number(parts[0], exists) || !number(parts[1], s.mtimeNs) ||
        !number(parts[2], s.size) || !number(parts[3], s.inode))
        return false;
    s.exists = exists != 0;
    return true;
}

std::string stampText(const FileStamp& s) {
    return std::string(s.exists ? "1 " : "0 ") + std::to_string(s.mtimeNs) + " " + std::to_string(s.size) + " " +
           std::to_string(s.inode);
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
        std::vector<std::string_view> f = fields(line);
        FileStamp stamp;
        if (f[0] == "project" && f.size() == 2 && parseStamp(f[1], stamp)) {
            project_ = stamp;
        } else if (f[0] == "page" && f.size() == 3 && parseStamp(f[2], stamp)) {
            current = &pages_[std::string(f[1])];
            *current = PageRecord{};
            current->outputStamp = stamp;
        } else if (f[0] == "source" && f.size() == 3 && current && parseStamp(f[2], stamp)) {
            current->source = std::string(f[1]);
            current->sourceStamp = stamp;
        } else if (f[0] == "dep" && f.size() == 3 && current && parseStamp(f[2], stamp)) {
            current->dependencies.emplace_back(std::string(f[1]), stamp);
        } else {
            return broken();
        }
    }
    changed_ = first;
}

bool BuildRecord::Save(const std::string& path, std::string* error) const {
    std::string out(kMagic);
    out += "\nproject\t" + stampText(project_) + "\n";
    for (const auto& [output, page] : pages_) {
        if (!recordable(output) || !recordable(page.source))
            continue;
        bool depsOk = true;
        for (const auto& dep : page.dependencies)
            depsOk = depsOk && recordable(dep.first);
        if (!depsOk)
            continue;
        out += "page\t" + output + "\t" + stampText(page.outputStamp) + "\n";
        out += "source\t" + page.source + "\t" + stampText(page.sourceStamp) + "\n";
        for (const auto& [dep, stamp] : page.dependencies)
            out += "dep\t" + dep + "\t" + stampText(stamp) + "\n";
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
