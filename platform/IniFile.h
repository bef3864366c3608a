// INI ("profile") files with the behaviour programs expect of the desktop's
// profile functions: section and key names compared without letter case, a
// default on every read, booleans stored as "1"/"0", keys listed in file order,
// and every write going to disk at once while keeping all other lines in place.
// A missing file reads as empty and is created by the first write.
#pragma once

#include <string>
#include <vector>

namespace vlr {

class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // A value that is not a decimal integer gives the default.
    long ReadInteger(const std::string& section, const std::string& key, long defaultValue) const;
    // "0" is false, any other integer true; a missing or non-numeric value gives the default.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

    // Each write rewrites the file (through a temporary file and a rename).
    // They return false when the file could not be written.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool WriteInteger(const std::string& section, const std::string& key, long value);
    bool WriteBool(const std::string& section, const std::string& key, bool value);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // Key names of a section in file order.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // Section names in file order.
    std::vector<std::string> ReadSections() const;
    // Removes the section with all its keys.
    bool EraseSection(const std::string& section);
    bool DeleteKey(const std::string& section, const std::string& key);

private:
    std::string path_;
};

// Atomically replaces a file's contents: write a temporary file beside it, flush
// it, then rename it over the target. A failure leaves the old file untouched.
// Symbolic links are followed so the link itself stays in place, and the old
// file's permissions are kept.
bool WriteFileAtomically(const std::string& path, const std::string& contents,
                         std::string* error = nullptr);
// Reads a whole file as bytes; false when it cannot be opened.
bool ReadFileBytes(const std::string& path, std::string& contents);

}  // namespace vlr
