// Byte-level writing and checked reading of the stored form's table data (little-endian).
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

// Malformed table data; the text says what is wrong.
class EStoredFormError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TByteWriter {
 public:
  void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  void U16(std::uint16_t v);
  void U32(std::uint32_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Count(std::size_t n) { U32(static_cast<std::uint32_t>(n)); }
  void Str(std::string_view s);
  void Set(const TStateSet& s);
  void Group(const TSM_CharGroup& g);
  [[nodiscard]] std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// Every read checks the remaining length and throws EStoredFormError when the data ends early.
class TByteReader {
 public:
  explicit TByteReader(std::string_view in) : in_(in) {}
  std::uint8_t U8();
  bool Bool();
  std::uint16_t U16();
  std::uint32_t U32();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  // A count of entries each at least `minEntrySize` bytes long: a count the remaining data
  // cannot hold is refused before anything is allocated for it.
  std::size_t Count(std::size_t minEntrySize);
  std::string Str();
  TStateSet Set();
  TSM_CharGroup Group();
  // Skips n bytes (refused when fewer remain).
  void Skip(std::size_t n);
  [[nodiscard]] std::size_t Remaining() const noexcept { return in_.size() - pos_; }

 private:
  void Need(std::size_t n) const;
  std::string_view in_;
  std::size_t pos_ = 0;
};

// The table data inside the compressed block: the settings first, then the word table, then
// everything else. ReadTables checks every index the highlighter follows, so tables it returns
// are safe to scan with.
void WriteTables(TByteWriter& w, const TSchemeTables& t);
// The key table part of the table data (bindings, then the 45 command descriptions).
void WriteKeyTable(TByteWriter& w, const TKeyTable& keys);
[[nodiscard]] TKeyTable ReadKeyTable(TByteReader& r);
[[nodiscard]] TSchemeTables ReadTables(TByteReader& r);

// Sections after the tables, each a tag, a length and its bytes, so that settings added later
// travel in the same stored form: an older reader's form simply has none (its values keep their
// defaults), and a section with a tag this reader does not know is skipped.
inline constexpr std::uint32_t kEditingAidsSection = 0x53444941;  // "AIDS": SyntaxMemoEditingAids
inline constexpr std::uint32_t kCurrentLineSection = 0x4E494C43;  // "CLIN": the current line's colour
// "DARK": the appearance setting (one byte), then the dark style set as the tables hold the
// light one (256 effects).
inline constexpr std::uint32_t kDarkStylesSection = 0x4B524144;
void WriteExtensions(TByteWriter& w, const TSchemeTables& t);
void ReadExtensions(TByteReader& r, TSchemeTables& t);

}  // namespace vlr
