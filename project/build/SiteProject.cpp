// Reading a project file for the build.
#include "project/build/SiteProject.h"

#include "platform/AsciiCase.h"
#include "project/build/FileIO.h"
#include "project/build/ProjectPaths.h"

#include <algorithm>
#include <unordered_map>

namespace vlr::build {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

struct Entry {
    int ordinal;  // which section header of the file it follows
    std::string section;
    std::string key;
    std::string value;
};

// Every key line of the text with the section it belongs to, in file order.
std::vector<Entry> parseEntries(const std::string& text) {
    std::vector<Entry> entries;
    std::string section;
    int ordinal = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line = trim(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                section = std::string(trim(line.substr(1, close - 1)));
                ++ordinal;
            }
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        std::string_view value = trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        entries.push_back({ordinal, section, std::string(trim(line.substr(0, eq))), std::string(value)});
    }
    return entries;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
    return out;
}

// The sections of the file, indexed: section and key names compare without
// letter case; the first section of a name and the first key of a name in
// it are the ones the profile functions find.
class Sections {
public:
    explicit Sections(const std::vector<Entry>& entries) {
        std::unordered_map<std::string, int> firstOrdinal;
        for (const Entry& e : entries) {
            std::string section = lowered(e.section);
            // Keys of a later section that repeats the name are not seen.
            if (firstOrdinal.emplace(section, e.ordinal).first->second != e.ordinal)
                continue;
            Section& sec = sections_[section];
            sec.pairs.emplace_back(e.key, e.value);
            if (sec.values.emplace(lowered(e.key), e.value).second)
                sec.keys.push_back(e.key);
        }
    }

    const std::string* find(std::string_view section, std::string_view key) const {
        auto sec = sections_.find(lowered(section));
        if (sec == sections_.end())
            return nullptr;
        auto it = sec->second.values.find(lowered(key));
        return it == sec->second.values.end() ? nullptr : &it->second;
    }
    std::string text(std::string_view section, std::string_view key) const {
        const std::string* v = find(section, key);
        return v ? *v : std::string();
    }
    bool flag(std::string_view section, std::string_view key) const {
        const std::string* v = find(section, key);
        if (!v || v->empty())
            return true;
        // A value that is not a whole number keeps the default, as the
        // program's own reading does.
        std::string_view digits = *v;
        if (digits.front() == '-' || digits.front() == '+')
            digits.remove_prefix(1);
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return true;
        return digits.find_first_not_of('0') != std::string_view::npos;
    }
    // Distinct key names of a section in file order.
    std::vector<std::string> keys(std::string_view section) const {
        auto sec = sections_.find(lowered(section));
        return sec == sections_.end() ? std::vector<std::string>{} : sec->second.keys;
    }
    // Every key line of a section with its value, in file order.
    std::vector<std::pair<std::string, std::string>> pairs(std::string_view section) const {
        auto sec = sections_.find(lowered(section));
        return sec == sections_.end() ? std::vector<std::pair<std::string, std::string>>{} : sec->second.pairs;
    }

private:
    struct Section {
        std::vector<std::string> keys;
        std::vector<std::pair<std::string, std::string>> pairs;
        std::unordered_map<std::string, std::string> values;
    };
    std::unordered_map<std::string, Section> sections_;
};

}  // namespace

void ParseSiteProject(const std::string& path, const std::string& text, SiteProject& project) {
    Sections ini(parseEntries(text));
    const std::string base = ProjectFolderOf(path);
    project = SiteProject{};
    project.ProjectFile = path;
    auto dir = [&](const char* key) { return ResolveProjectPath(base, ini.text("directories", key)); };
    project.SourceDir = dir("src");
    project.OutputDir = dir("out");
    project.ImageDir = dir("img");
    project.SearchDir = dir("search");
    project.ImgPrefix = ini.text("other", "imgprep");
    project.switches.vars = ini.flag("Compiler", "vars");
    project.switches.db = ini.flag("Compiler", "db");
    project.switches.scripts = ini.flag("Compiler", "scripts");
    project.switches.extapps = ini.flag("Compiler", "extapps");
    project.switches.includes = ini.flag("Compiler", "includes");
    for (const std::string& name : ini.keys("variables"))
        project.Variables.emplace_back(name, ini.text("variables", name));
    project.Files = ProjectFileEntries(ini.pairs("files"), base);
    project.CheckSettings = ini.pairs("Check");
}

bool ReadSiteProject(const std::string& path, SiteProject& project, std::string& error) {
    std::string text;
    if (!ReadWholeFile(path, text, &error)) {
        error = "cannot read the project file (" + error + ")";
        return false;
    }
    ParseSiteProject(path, text, project);
    return true;
}

}  // namespace vlr::build
