// The user's named CSS styles and their file "styles.dat": TStyleSheet, one
// style of 21 texts, and TCSSList, the ordered list that owns them.
//
// File form (little-endian): a signed 32-bit count N, then N records of 21
// strings S0..S20, each a signed 32-bit length L followed by L bytes. A zero
// byte inside the L bytes ends the string there.
//
// What the texts hold (the style organizer writes them this way):
//   S0 name; S1 the style's note (free text, not part of the CSS);
//   S2 font-family; S3/S4 font-size number and unit; S5/S6 line-height;
//   S7 font-style; S8 text-decoration for rules and attributes; S9 the same
//   text-decoration for the whole style element (the organizer writes one
//   value into both); S10 font-weight; S11/S12 text-indent; S13/S14
//   margin-left; S15/S16 margin-right; S17 text-align, S19 letter-spacing
//   (kept for the organizer, not written into the CSS here); S18 color;
//   S20 background.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vlr::authoring {

class TCSSList;

inline constexpr int kStyleTextCount = 21;

class TStyleSheet {
public:
    TStyleSheet(const TStyleSheet&) = delete;
    TStyleSheet& operator=(const TStyleSheet&) = delete;

    [[nodiscard]] TCSSList* Owner() const noexcept { return owner_; }
    [[nodiscard]] const std::string& Name() const noexcept { return S[0]; }

    std::array<std::string, kStyleTextCount> S;

private:
    friend class TCSSList;
    explicit TStyleSheet(TCSSList* owner) : owner_(owner) {}
    TCSSList* owner_;
};

// The outcome of reading or writing styles: empty when it went well.
struct StylesError {
    std::string message;
    [[nodiscard]] bool ok() const noexcept { return message.empty(); }
};

class TCSSList {
public:
    TCSSList() = default;
    // Destroys the styles, last first.
    ~TCSSList();
    TCSSList(const TCSSList&) = delete;
    TCSSList& operator=(const TCSSList&) = delete;

    [[nodiscard]] int Count() const noexcept { return static_cast<int>(items_.size()); }
    // nullptr outside 0..Count()-1.
    [[nodiscard]] TStyleSheet* Items(int index) const noexcept;
    // The first style whose name equals `name` exactly, or nullptr.
    [[nodiscard]] TStyleSheet* Find(std::string_view name) const noexcept;

    // A new empty style appended to the list.
    TStyleSheet* Add();
    // Destroys one style; nothing outside the range.
    void Delete(int index);
    // Moves the style at `from` to `to` (both within the range).
    void Move(int from, int to);
    void Clear();

    // Replaces the contents by the styles in `bytes`. A damaged form (count or
    // length negative or larger than the bytes that follow, record cut short)
    // leaves the list empty and says what is wrong. Never allocates more than
    // the bytes hold.
    StylesError LoadFromBytes(std::string_view bytes);
    // The same from a file; a missing file is an empty list, not an error.
    StylesError LoadFromFile(const std::string& fileName);

    [[nodiscard]] std::string SaveToBytes() const;
    // Writes the whole file or nothing: a failed write keeps the old file.
    StylesError SaveToFile(const std::string& fileName) const;

private:
    std::vector<std::unique_ptr<TStyleSheet>> items_;
};

}  // namespace vlr::authoring
