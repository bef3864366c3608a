#include "platform/IniFile.h"

#include "platform/AsciiCase.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <climits>

namespace vlr {
namespace {

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

// One parsed line of the file. Lines that are neither a section header nor a
// key are kept as they are (comments, blank lines).
struct Line {
    std::string text;
    enum Kind { Other, Section, Key } kind = Other;
    std::string name;   // section or key name
    std::string value;  // key value, quotes removed
};

std::vector<Line> parse(const std::string& contents) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        std::size_t end = contents.find('\n', pos);
        if (end == std::string::npos)
            end = contents.size();
        Line line;
        line.text = contents.substr(pos, end - pos);
        if (!line.text.empty() && line.text.back() == '\r')
            line.text.pop_back();
        std::string t = trim(line.text);
        if (!t.empty() && t[0] == '[') {
            std::size_t close = t.find(']');
            if (close != std::string::npos) {
                line.kind = Line::Section;
                line.name = trim(t.substr(1, close - 1));
            }
        } else if (!t.empty() && t[0] != ';') {
            std::size_t eq = t.find('=');
            if (eq != std::string::npos) {
                line.kind = Line::Key;
                line.name = trim(t.substr(0, eq));
                line.value = trim(t.substr(eq + 1));
                if (line.value.size() >= 2 &&
                    (line.value.front() == '"' || line.value.front() == '\'') &&
                    line.value.back() == line.value.front())
                    line.value = line.value.substr(1, line.value.size() - 2);
            }
        }
        lines.push_back(std::move(line));
        pos = end + 1;
    }
    return lines;
}

std::vector<Line> load(const std::string& path) {
    std::string contents;
    if (!ReadFileBytes(path, contents))
        return {};
    return parse(contents);
}

bool store(const std::string& path, const std::vector<Line>& lines) {
    std::string out;
    for (const Line& l : lines) {
        out += l.text;
        out += '\n';
    }
    return WriteFileAtomically(path, out);
}

// Index range [begin, end) of the lines that belong to a section (after its
// header), or nullopt when the section is absent.
struct SectionRange {
    std::size_t header, begin, end;
};

std::optional<SectionRange> findSection(const std::vector<Line>& lines, const std::string& section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Line::Section && AsciiEqualsNoCase(lines[i].name, section)) {
            std::size_t j = i + 1;
            while (j < lines.size() && lines[j].kind != Line::Section)
                ++j;
            return SectionRange{i, i + 1, j};
        }
    }
    return std::nullopt;
}

const Line* findKey(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
    auto range = findSection(lines, section);
    if (!range)
        return nullptr;
    for (std::size_t i = range->begin; i < range->end; ++i)
        if (lines[i].kind == Line::Key && AsciiEqualsNoCase(lines[i].name, key))
            return &lines[i];
    return nullptr;
}

std::optional<long> parseDecimal(const std::string& s) {
    if (s.empty())
        return std::nullopt;
    std::size_t i = 0;
    bool negative = false;
    if (s[0] == '-' || s[0] == '+') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size())
        return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX || v < INT_MIN)
        return std::nullopt;
    return static_cast<long>(v);
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    auto lines = load(path_);
    const Line* l = findKey(lines, section, key);
    return l ? l->value : defaultValue;
}

long IniFile::ReadInteger(const std::string& section, const std::string& key, long defaultValue) const {
    auto lines = load(path_);
    const Line* l = findKey(lines, section, key);
    if (!l)
        return defaultValue;
    return parseDecimal(l->value).value_or(defaultValue);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    auto lines = load(path_);
    Line keyLine;
    keyLine.kind = Line::Key;
    keyLine.name = key;
    keyLine.value = value;
    keyLine.text = key + "=" + value;

    auto range = findSection(lines, section);
    if (!range) {
        if (!lines.empty() && !trim(lines.back().text).empty())
            lines.push_back(Line{});
        Line header;
        header.kind = Line::Section;
        header.name = section;
        header.text = "[" + section + "]";
        lines.push_back(header);
        lines.push_back(keyLine);
        return store(path_, lines);
    }
    std::size_t lastKey = range->header;
    for (std::size_t i = range->begin; i < range->end; ++i) {
        if (lines[i].kind == Line::Key) {
            if (AsciiEqualsNoCase(lines[i].name, key)) {
                keyLine.name = lines[i].name;
                keyLine.text = lines[i].name + "=" + value;
                lines[i] = keyLine;
                return store(path_, lines);
            }
            lastKey = i;
        }
    }
    lines.insert(lines.begin() + static_cast<long>(lastKey + 1), keyLine);
    return store(path_, lines);
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, long value) {
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::SectionExists(const std::string& section) const {
    return findSection(load(path_), section).has_value();
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
    auto lines = load(path_);
    return findKey(lines, section, key) != nullptr;
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
    auto lines = load(path_);
    std::vector<std::string> keys;
    auto range = findSection(lines, section);
    if (!range)
        return keys;
    for (std::size_t i = range->begin; i < range->end; ++i)
        if (lines[i].kind == Line::Key)
            keys.push_back(lines[i].name);
    return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
    std::vector<std::string> names;
    for (const Line& l : load(path_))
        if (l.kind == Line::Section)
            names.push_back(l.name);
    return names;
}

bool IniFile::EraseSection(const std::string& section) {
    auto lines = load(path_);
    auto range = findSection(lines, section);
    if (!range)
        return true;
    lines.erase(lines.begin() + static_cast<long>(range->header), lines.begin() + static_cast<long>(range->end));
    return store(path_, lines);
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
    auto lines = load(path_);
    auto range = findSection(lines, section);
    if (!range)
        return true;
    for (std::size_t i = range->begin; i < range->end; ++i) {
        if (lines[i].kind == Line::Key && AsciiEqualsNoCase(lines[i].name, key)) {
            lines.erase(lines.begin() + static_cast<long>(i));
            return store(path_, lines);
        }
    }
    return true;
}

bool ReadFileBytes(const std::string& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    contents = ss.str();
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error)
            *error = what + ": " + std::strerror(errno);
        return false;
    };
    // Save through a symbolic link to its target, so the link stays a link.
    std::string target = path;
    char resolved[PATH_MAX];
    struct stat linkInfo {};
    if (lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) && realpath(path.c_str(), resolved))
        target = resolved;

    mode_t mode = 0644;
    struct stat info {};
    bool existed = stat(target.c_str(), &info) == 0;
    if (existed)
        mode = info.st_mode & 07777;

    std::string temp = target + ".vlrtmp-XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0)
        return fail("Cannot create " + temp);
    std::string tempName(name.data());
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int saved = errno;
            ::close(fd);
            ::unlink(tempName.c_str());
            errno = saved;
            return fail("Cannot write " + target);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::fchmod(fd, existed ? mode : (0666 & ~[] { mode_t m = umask(0); umask(m); return m; }())) != 0) {
        int saved = errno;
        ::close(fd);
        ::unlink(tempName.c_str());
        errno = saved;
        return fail("Cannot write " + target);
    }
    if (::close(fd) != 0) {
        int saved = errno;
        ::unlink(tempName.c_str());
        errno = saved;
        return fail("Cannot write " + target);
    }
    if (::rename(tempName.c_str(), target.c_str()) != 0) {
        int saved = errno;
        ::unlink(tempName.c_str());
        errno = saved;
        return fail("Cannot replace " + target);
    }
    return true;
}

}  // namespace vlr
