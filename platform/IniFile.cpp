#include "platform/IniFile.h"

#include <atomic>
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

std::atomic<std::size_t> readCount{0};

// Reads the file for an INI object. A missing file (or missing folder) is an
// empty text without error; any other failure gives the reason in *error.
std::string loadText(const std::string& path, std::string* error) {
    readCount.fetch_add(1, std::memory_order_relaxed);
    std::string contents;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            *error = "Cannot read " + path + ": " + std::strerror(errno);
        return contents;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        contents.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = "Cannot read " + path + ": " + std::strerror(errno);
            contents.clear();
            break;
        }
        if (n == 0)
            break;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return contents;
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

std::size_t IniFileReadCount() { return readCount.load(std::memory_order_relaxed); }

// ---- IniSnapshot

IniSnapshot::IniSnapshot(std::string path) : path_(std::move(path)) {
    doc_ = IniDocument::Parse(loadText(path_, &loadError_));
}

std::string IniSnapshot::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    const std::string* value = doc_.Find(section, key);
    return value ? *value : defaultValue;
}

long IniSnapshot::ReadInteger(const std::string& section, const std::string& key, long defaultValue) const {
    const std::string* value = doc_.Find(section, key);
    if (!value)
        return defaultValue;
    return parseDecimal(*value).value_or(defaultValue);
}

bool IniSnapshot::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniSnapshot::SectionExists(const std::string& section) const { return doc_.SectionExists(section); }

bool IniSnapshot::ValueExists(const std::string& section, const std::string& key) const {
    return doc_.Find(section, key) != nullptr;
}

std::vector<std::string> IniSnapshot::ReadSection(const std::string& section) const {
    return doc_.SectionKeys(section);
}

std::vector<std::pair<std::string, std::string>> IniSnapshot::ReadSectionValues(const std::string& section) const {
    return doc_.SectionValues(section);
}

std::vector<std::string> IniSnapshot::ReadSections() const { return doc_.SectionNames(); }

// ---- IniBatch

IniBatch::IniBatch(std::string path) : IniSnapshot(std::move(path)) {}

void IniBatch::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    doc_.Set(section, key, value);
}

void IniBatch::WriteInteger(const std::string& section, const std::string& key, long value) {
    doc_.Set(section, key, std::to_string(value));
}

void IniBatch::WriteBool(const std::string& section, const std::string& key, bool value) {
    doc_.Set(section, key, value ? "1" : "0");
}

void IniBatch::EraseSection(const std::string& section) { doc_.EraseSection(section); }

void IniBatch::DeleteKey(const std::string& section, const std::string& key) { doc_.DeleteKey(section, key); }

void IniBatch::Clear() {
    doc_.Clear();
    // Nothing of the unread text would be kept anyway.
    loadError_.clear();
}

bool IniBatch::Commit(std::string* error) {
    if (!loadError_.empty()) {
        if (error)
            *error = loadError_ + "; the file was left unchanged";
        return false;
    }
    return WriteFileAtomically(path_, doc_.Serialize(), error);
}

// ---- IniFile: one read, or one read and one atomic write, per call

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    return IniSnapshot(path_).ReadString(section, key, defaultValue);
}

long IniFile::ReadInteger(const std::string& section, const std::string& key, long defaultValue) const {
    return IniSnapshot(path_).ReadInteger(section, key, defaultValue);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return IniSnapshot(path_).ReadBool(section, key, defaultValue);
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    IniBatch batch(path_);
    batch.WriteString(section, key, value);
    return batch.Commit();
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, long value) {
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::SectionExists(const std::string& section) const { return IniSnapshot(path_).SectionExists(section); }

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
    return IniSnapshot(path_).ValueExists(section, key);
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
    return IniSnapshot(path_).ReadSection(section);
}

std::vector<std::string> IniFile::ReadSections() const { return IniSnapshot(path_).ReadSections(); }

bool IniFile::EraseSection(const std::string& section) {
    IniBatch batch(path_);
    if (!batch.SectionExists(section))
        return true;
    batch.EraseSection(section);
    return batch.Commit();
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
    IniBatch batch(path_);
    if (!batch.ValueExists(section, key))
        return true;
    batch.DeleteKey(section, key);
    return batch.Commit();
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

}  // namespace vlr
