#include "appearance/UserSettings.h"

#include "platform/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vlr {
namespace {

void putInt(std::string& out, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

void putText(std::string& out, const std::string& text) {
    putInt(out, static_cast<std::int32_t>(text.size()));
    out += text;
}

class Reader {
public:
    Reader(const std::string& bytes, std::string fileName) : bytes_(bytes), name_(std::move(fileName)) {}

    std::int32_t readInt(const char* what) {
        if (bytes_.size() - pos_ < 4)
            fail(std::string("the file ends before the ") + what);
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        pos_ += 4;
        return static_cast<std::int32_t>(u);
    }

    // A length-prefixed text, cut at its first zero byte.
    std::string readText(const char* what) {
        std::int32_t len = readInt(what);
        if (len < 0)
            fail(std::string("negative length of a ") + what);
        if (static_cast<std::size_t>(len) > bytes_.size() - pos_)
            fail(std::string("a ") + what + " runs past the end of the file");
        std::string text = bytes_.substr(pos_, static_cast<std::size_t>(len));
        pos_ += static_cast<std::size_t>(len);
        if (auto zero = text.find('\0'); zero != std::string::npos)
            text.resize(zero);
        return text;
    }

    std::size_t remaining() const { return bytes_.size() - pos_; }

    [[noreturn]] void fail(const std::string& why) const {
        throw EUserSettingsError("Invalid settings file" + (name_.empty() ? std::string() : " " + name_) +
                                 ": " + why);
    }

private:
    const std::string& bytes_;
    std::string name_;
    std::size_t pos_ = 0;
};

}  // namespace

TUserSetting::TUserSetting(TUserSettingList& owner) : owner_(&owner) { owner.attach(this); }

TUserSetting::~TUserSetting() { owner_->detach(this); }

TUserSettingList::~TUserSettingList() { Clear(); }

TUserSetting* TUserSettingList::Items(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

void TUserSettingList::Clear() {
    while (!items_.empty())
        delete items_.back();
}

TUserSetting* TUserSettingList::FindSetting(const std::string& name) const {
    for (TUserSetting* s : items_)
        if (s->Name == name)
            return s;
    return nullptr;
}

TUserSetting* TUserSettingList::Add(const std::string& name, const std::string& value) {
    auto* s = new TUserSetting(*this);
    s->Name = name;
    s->Value = value;
    return s;
}

void TUserSettingList::detach(TUserSetting* entry) {
    auto it = std::find(items_.begin(), items_.end(), entry);
    if (it != items_.end())
        items_.erase(it);
}

std::string TUserSettingList::ToBytes() const {
    std::string out;
    putInt(out, Count());
    for (const TUserSetting* s : items_) {
        putText(out, s->Name);
        putText(out, s->Value);
    }
    return out;
}

void TUserSettingList::LoadFromBytes(const std::string& bytes, const std::string& fileName) {
    Reader in(bytes, fileName);
    std::int32_t count = in.readInt("entry count");
    if (count < 0)
        in.fail("negative entry count");
    // Every entry takes at least eight bytes, so a larger count cannot be true.
    if (static_cast<std::size_t>(count) > in.remaining() / 8)
        in.fail("the entry count is larger than the file holds");
    std::vector<std::pair<std::string, std::string>> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::string name = in.readText("name");
        std::string value = in.readText("value");
        entries.emplace_back(std::move(name), std::move(value));
    }
    // Only a file read whole replaces the contents.
    Clear();
    for (auto& [name, value] : entries)
        Add(name, value);
}

void TUserSettingList::LoadFromFile(const std::string& fileName) {
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EUserSettingsError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    // Exclusive use while reading, as far as other programs honour locks.
    ::flock(fd, LOCK_EX);
    std::string bytes;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int saved = errno;
            ::close(fd);
            throw EUserSettingsError("Cannot read file \"" + fileName + "\". " + std::strerror(saved));
        }
        if (n == 0)
            break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    LoadFromBytes(bytes, fileName);
}

void TUserSettingList::SaveToFile(const std::string& fileName) const {
    std::string error;
    if (!WriteFileAtomically(fileName, ToBytes(), &error))
        throw EUserSettingsError("Cannot create file \"" + fileName + "\". " + error);
}

}  // namespace vlr
