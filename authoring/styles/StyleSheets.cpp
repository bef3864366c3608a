// TStyleSheet and TCSSList: reading and writing "styles.dat".
#include "authoring/styles/StyleSheets.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr::authoring {
namespace {

constexpr std::size_t kLengthSize = 4;

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    std::size_t remaining() const { return bytes_.size() - pos_; }
    std::size_t position() const { return pos_; }
    bool int32(std::int32_t& value) {
        if (remaining() < kLengthSize)
            return false;
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < kLengthSize; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        pos_ += kLengthSize;
        value = static_cast<std::int32_t>(v);
        return true;
    }
    std::string_view take(std::size_t n) {
        std::string_view s = bytes_.substr(pos_, n);
        pos_ += n;
        return s;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

void PutInt32(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < kLengthSize; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string ErrnoText() { return std::strerror(errno); }

}  // namespace

TCSSList::~TCSSList() { Clear(); }

TStyleSheet* TCSSList::Items(int index) const noexcept {
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
}

TStyleSheet* TCSSList::Find(std::string_view name) const noexcept {
    for (const auto& s : items_)
        if (s->Name() == name)
            return s.get();
    return nullptr;
}

TStyleSheet* TCSSList::Add() {
    items_.push_back(std::unique_ptr<TStyleSheet>(new TStyleSheet(this)));
    return items_.back().get();
}

void TCSSList::Delete(int index) {
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TCSSList::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
        return;
    auto item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
}

void TCSSList::Clear() {
    while (!items_.empty())
        items_.pop_back();
}

StylesError TCSSList::LoadFromBytes(std::string_view bytes) {
    Clear();
    Reader in(bytes);
    std::int32_t count = 0;
    if (!in.int32(count))
        return {"the file is too short to hold the number of styles"};
    // Every record needs at least 21 length fields, so the count is checked
    // against the bytes before anything is made.
    const std::size_t leastRecord = kStyleTextCount * kLengthSize;
    if (count < 0 || static_cast<std::size_t>(count) > in.remaining() / leastRecord) {
        return {"the number of styles (" + std::to_string(count) + ") does not fit the file"};
    }
    for (std::int32_t r = 0; r < count; ++r) {
        TStyleSheet* style = Add();
        for (int i = 0; i < kStyleTextCount; ++i) {
            std::int32_t length = 0;
            const std::size_t at = in.position();
            if (!in.int32(length)) {
                Clear();
                return {"style " + std::to_string(r + 1) + " ends early at byte " + std::to_string(at)};
            }
            if (length < 0 || static_cast<std::size_t>(length) > in.remaining()) {
                Clear();
                return {"style " + std::to_string(r + 1) + " has a text of length " + std::to_string(length) +
                        " at byte " + std::to_string(at) + " that does not fit the file"};
            }
            std::string_view text = in.take(static_cast<std::size_t>(length));
            style->S[static_cast<std::size_t>(i)] = std::string(text.substr(0, text.find('\0')));
        }
    }
    return {};
}

StylesError TCSSList::LoadFromFile(const std::string& fileName) {
    Clear();
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return {};
        return {"Cannot open file \"" + fileName + "\": " + ErrnoText()};
    }
    if (!S_ISREG(info.st_mode))
        return {"Cannot open file \"" + fileName + "\": not a file"};
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        return {"Cannot open file \"" + fileName + "\": " + ErrnoText()};
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad())
        return {"Cannot read file \"" + fileName + "\""};
    StylesError e = LoadFromBytes(contents.str());
    if (!e.ok())
        e.message = "The style file \"" + fileName + "\" is damaged: " + e.message + ".";
    return e;
}

std::string TCSSList::SaveToBytes() const {
    std::string out;
    PutInt32(out, Count());
    for (const auto& s : items_)
        for (const std::string& text : s->S) {
            PutInt32(out, static_cast<std::int32_t>(text.size()));
            out += text;
        }
    return out;
}

StylesError TCSSList::SaveToFile(const std::string& fileName) const {
    const std::string bytes = SaveToBytes();
    std::string temp = fileName + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return {"Cannot create a file beside \"" + fileName + "\": " + ErrnoText()};
    std::size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    // mkstemp makes the file for the owner only; the style file is an ordinary data file.
    ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    std::string why = ok ? std::string() : ErrnoText();
    if (::close(fd) != 0 && ok) {
        ok = false;
        why = ErrnoText();
    }
    if (ok && std::rename(temp.c_str(), fileName.c_str()) != 0) {
        ok = false;
        why = ErrnoText();
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return {"Cannot write file \"" + fileName + "\": " + why};
    }
    return {};
}

}  // namespace vlr::authoring
