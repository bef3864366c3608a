// INI ("profile") files with the behaviour programs expect of the desktop's
// profile functions: section and key names compared without letter case, a
// default on every read, booleans stored as "1"/"0", keys listed in file order,
// and every write going to disk at once while keeping all other lines in place.
// A missing file reads as empty and is created by the first write.
//
// IniFile reads or rewrites the file on every call. An operation that touches
// many keys uses IniSnapshot (the file read once) or IniBatch (read once,
// changed in memory, written whole by one Commit), so the file on disk is
// always either the old or the new text.
#pragma once

#include "platform/IniDocument.h"

#include <cstddef>
#include <string>
#include <utility>
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
    // They return false when the file could not be written, or when it exists
    // but could not be read (rewriting it would lose its other lines).
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

// The file read once; every read answers from that copy. A file that exists
// but cannot be read reads as empty, with the reason in LoadError().
class IniSnapshot {
public:
    explicit IniSnapshot(std::string path);

    const std::string& path() const { return path_; }
    // Empty when the file was read or does not exist.
    const std::string& LoadError() const { return loadError_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    long ReadInteger(const std::string& section, const std::string& key, long defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::vector<std::string> ReadSection(const std::string& section) const;
    // Key names and values of a section in file order.
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& section) const;
    std::vector<std::string> ReadSections() const;

protected:
    std::string path_;
    IniDocument doc_;
    std::string loadError_;
};

// Many changes to one file, written at once: the file is read when the batch
// is made, the writes change the copy in memory (reads see them), and Commit
// replaces the file whole through WriteFileAtomically. Nothing reaches the disk
// before Commit; a batch dropped without Commit changes nothing.
class IniBatch : public IniSnapshot {
public:
    explicit IniBatch(std::string path);

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);
    // Drops every line, so the commit writes only what is written afterwards.
    void Clear();

    // Writes the whole text. False (reason in *error) when the file could not
    // be written, or when it exists but could not be read at the start and
    // would otherwise lose its unread contents; the old file is then untouched.
    [[nodiscard]] bool Commit(std::string* error = nullptr);
};

// How many times this process has read an INI file from disk through the
// classes above; lets tests check that an operation reads a file once.
std::size_t IniFileReadCount();

// Atomically replaces a file's contents: write a temporary file beside it, flush
// it, then rename it over the target. A failure leaves the old file untouched.
// Symbolic links are followed so the link itself stays in place, and the old
// file's permissions are kept.
bool WriteFileAtomically(const std::string& path, const std::string& contents,
                         std::string* error = nullptr);
// Reads a whole file as bytes; false when it cannot be opened.
bool ReadFileBytes(const std::string& path, std::string& contents);

}  // namespace vlr
