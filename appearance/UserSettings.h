// TUserSetting / TUserSettingList: an ordered list of name/value texts with a
// length-prefixed file form (count, then per entry name length, name bytes,
// value length, value bytes; 32-bit little-endian signed integers). Used for
// project variables, internal variables, tools ("tools.dat") and the variables
// exchange file.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vlr {

class TUserSettingList;

// Raised by LoadFromFile and SaveToFile.
class EUserSettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TUserSetting {
public:
    // Creates an entry with empty name and value at the end of the owner.
    explicit TUserSetting(TUserSettingList& owner);
    // Removes the entry from its owner.
    ~TUserSetting();
    TUserSetting(const TUserSetting&) = delete;
    TUserSetting& operator=(const TUserSetting&) = delete;

    TUserSettingList& Owner() const { return *owner_; }
    std::string Name;
    std::string Value;

private:
    TUserSettingList* owner_;
};

class TUserSettingList {
public:
    TUserSettingList() = default;
    ~TUserSettingList();
    TUserSettingList(const TUserSettingList&) = delete;
    TUserSettingList& operator=(const TUserSettingList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    TUserSetting* Items(int index) const;
    // Destroys every entry; the list stays, empty.
    void Clear();
    // The first entry whose name equals the text exactly, or nullptr.
    TUserSetting* FindSetting(const std::string& name) const;
    // Appends an entry with the given name and value.
    TUserSetting* Add(const std::string& name, const std::string& value);

    // Replaces the contents from a file. A file that cannot be opened, or that
    // ends before its counts and lengths say, raises EUserSettingsError and
    // leaves the list exactly as it was.
    void LoadFromFile(const std::string& fileName);
    // Writes the contents (atomically: a failed write keeps the old file).
    void SaveToFile(const std::string& fileName) const;

    // The file form of the list, and parsing of it (same rules as the files).
    std::string ToBytes() const;
    void LoadFromBytes(const std::string& bytes, const std::string& fileName = "");

private:
    friend class TUserSetting;
    void attach(TUserSetting* entry) { items_.push_back(entry); }
    void detach(TUserSetting* entry);
    std::vector<TUserSetting*> items_;
};

}  // namespace vlr
