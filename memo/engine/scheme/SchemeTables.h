// The compiled tables of a syntax scheme: what the scheme compiler produces from a script,
// what the stored form holds, and what the run-time highlighter scans with.
//
// Character groups are held once in `groups` and referred to by index, so that identical
// groups written in many entries share one set. Colours are 0x00BBGGRR (red in the low byte).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/keys/KeyBinding.h"
#include "memo/engine/scheme/CharGroup.h"
#include "memo/engine/scheme/StateSet.h"

namespace vlr {

// Standard scanner numbers (the __STD_... macros) and the three plain body scanners.
enum TStdScanner : std::uint8_t {
  kScanStringChar = 0,      // one string character; a doubled quote counts as one
  kScanUrlRun = 1,          // a run of URL characters, a final "." given back
  kScanRestOfLine = 2,      // the rest of the line, only from the start of a line
  kScanIdentifier = 10,     // __STD_IDENTIFIER
  kScanNumberOrFp = 11,     // __STD_NUMBER_OR_FP
  kScanPascalString = 12,   // __STD_PASCALSTRING
  kScanCString = 13,        // __STD_C_STRING
  kScanCChar = 14,          // __STD_C_CHAR
  kScanCNumberSigned = 15,  // __STD_C_NUMBER_OR_FP_SIGNED
  kScanNumber = 16,         // __STD_NUMBER
  kScanMailUrl = 17,        // __STD_MAIL_URL
  kScanHtmlString = 18,     // __STD_HTML_STRING
  kScanJsLineComment = 19,  // __STD_JS_LINE_COMMENT
  kScanCStringSq = 20,      // __STD_C_STRING_SQ
};

// True for 0, 1, 2 and 10..20.
[[nodiscard]] bool IsBodyScanner(long long n) noexcept;
// True for 10..20, the scanners that may start a token.
[[nodiscard]] bool IsStartScanner(long long n) noexcept;
// The characters with which standard scanner n (10..20) may begin a token.
[[nodiscard]] TSM_CharGroup StartSetOf(std::uint8_t scanner) noexcept;

// One part of a body or terminator specification.
struct TScanPart {
  enum class Kind : std::uint8_t {
    None,     // nothing (an empty terminator: always matches with no characters)
    Group,    // a character group: `group` indexes TSchemeTables::groups
    Scanner,  // a built-in scanner: `scanner` is 0, 1, 2 or 10..20
    Custom,   // match ( n ): OnCustomParse with ParseID `custom`
  };
  Kind kind = Kind::None;
  std::uint16_t group = 0;
  std::uint8_t scanner = 0;
  std::uint8_t custom = 0;
  friend bool operator==(const TScanPart&, const TScanPart&) = default;
};

// The body, "?" and terminator of a token or handler entry.
struct TBodySpec {
  TScanPart body;              // Custom with no terminator when the entry is just match ( n )
  bool optionalBody = false;   // "?": the terminator is tried from the first position
  // The terminator: Kind::None parts are unused; for a group terminator up to four groups
  // matched in sequence (`termCount` of them); a Scanner or Custom terminator uses term[0].
  std::array<TScanPart, 4> term{};
  std::uint8_t termCount = 0;  // 0 = empty terminator
  bool flag = false;           // the terminator's characters belong to the token
  friend bool operator==(const TBodySpec&, const TBodySpec&) = default;
};

// A token entry of a token table.
struct TTokenEntry {
  bool startIsScanner = false;  // start is standard scanner `startScanner` (10..20)
  std::uint8_t startScanner = 0;
  std::uint16_t startGroup = 0;  // start group (index into groups) when not a scanner
  TBodySpec spec;                // unused when startIsScanner
  TStateSet valid;               // state 0, the InState block's state, and the listed states
  std::uint8_t value = 0;        // token value
  friend bool operator==(const TTokenEntry&, const TTokenEntry&) = default;
};

// A token table: entries, and per first character the index of its entry (-1 = none).
struct TTokenTable {
  std::array<std::int16_t, 256> first;
  std::vector<TTokenEntry> entries;
  TTokenTable() { first.fill(-1); }
  friend bool operator==(const TTokenTable&, const TTokenTable&) = default;
};

// Per token value: the state machine's record.
struct TTokenRecord {
  bool present = false;
  TStateSet valid;     // states in which the value is valid (empty = every state)
  TStateSet toSet;     // added to S
  TStateSet toClear;   // removed from S
  bool container = false;
  bool noStateChange = true;
  std::uint8_t pushPop = 0;  // one of the kPush... codes, or 0
  friend bool operator==(const TTokenRecord&, const TTokenRecord&) = default;
};
inline constexpr std::uint8_t kPushBefore = 1;
inline constexpr std::uint8_t kPopBefore = 2;
inline constexpr std::uint8_t kPushAfter = 4;
inline constexpr std::uint8_t kPopAfter = 8;

// A word of the word table.
struct TWordEntry {
  std::string text;          // lower-cased when the language is case-insensitive
  std::uint8_t value = 0;
  TStateSet valid;           // state 0 and the listed states
  std::int32_t follow = -1;  // group the next character must be in, or -1 for no condition
  friend bool operator==(const TWordEntry&, const TWordEntry&) = default;
};

// The effect of a style.
struct TSchemeEffect {
  bool present = false;
  std::uint32_t foreground = 0;
  std::uint32_t background = 0xFFFFFF;
  bool defaultForeground = true;
  bool defaultBackground = true;
  std::uint8_t fontStyle = 0;  // bit 0 bold, bit 1 italic, bit 2 underline (bits 3..7 kept)
  bool hotspot = false;
  friend bool operator==(const TSchemeEffect&, const TSchemeEffect&) = default;
};

// A colour with a "use the default colour" flag.
struct TSchemeColor {
  bool useDefault = true;
  std::uint32_t color = 0;
  friend bool operator==(const TSchemeColor&, const TSchemeColor&) = default;
};

struct TEditableStyle {
  std::string name;  // at most 25 characters
  std::uint8_t style = 0;
  friend bool operator==(const TEditableStyle&, const TEditableStyle&) = default;
};

// A keyword table of "%%kwTables".
struct TKeywordTable {
  TStateSet valid;       // state 0 when the forstate list is empty
  std::string endsWith;
  bool caseSensitive = false;
  struct Word {
    std::string text;
    std::uint8_t value = 0;
    friend bool operator==(const Word&, const Word&) = default;
  };
  std::vector<Word> words;
  friend bool operator==(const TKeywordTable&, const TKeywordTable&) = default;
};
inline constexpr std::size_t kMaxKeywordTables = 16;

struct TTemplateEntry {
  std::string name;
  std::string description;
  std::string text;
  friend bool operator==(const TTemplateEntry&, const TTemplateEntry&) = default;
};

struct TReplaceEntry {
  std::string item;
  std::string replacement;
  friend bool operator==(const TReplaceEntry&, const TReplaceEntry&) = default;
};

inline constexpr const char* kDefaultActKeys = ";,:.=()[]\\{Return}\\{Tab}\\{Space}";
inline constexpr std::uint16_t kDefaultTemplateHotKey = kKeyCtrl | 'J';
inline constexpr std::size_t kMaxEditableStyles = 25;
inline constexpr std::size_t kMaxTabStops = 32;

// The language settings a script fills (TSM_Settings).
struct TSchemeSettings {
  std::string name = "<Custom language>";  // at most 35 characters
  bool caseSensitive = false;
  std::uint32_t options = 67099632;        // __DEFAULT_OPTIONS
  std::uint32_t editingAids = 255;         // kDefaultEditingAids (memo/engine/Options.h)
  std::uint8_t appearance = 0;             // TAppearance (Appearance.h): follow the desktop
  std::string exampleText;
  std::vector<TEditableStyle> editableStyles;
  int wordWrapColumn = 80;
  int gutterWidth = 34;
  int indentStep = 2;
  std::string wrapOverride;                // at most 35 characters
  int rightMargin = 80;
  std::string fontName = "Courier New";
  int fontSize = 10;
  // The font's character set. The stored form has no place for it, so it always holds the
  // default (1: the character set of the font as installed); Qt chooses glyphs by family.
  int fontCharset = 1;
  std::string tabColumns;                  // as written
  std::array<int, kMaxTabStops> tabStops;  // zero-based columns, -1 = free
  int tabDefault = 8;
  TSchemeColor selTextColor;
  TSchemeColor selTextBack;
  TSchemeColor gutterColor;
  std::uint32_t marginColor = 0xC0C0C0;
  int marginWidth = 1;
  TSchemeColor currentLineColor;           // the band behind the caret's line (smaCurrentLine)

  TSchemeSettings() { tabStops.fill(-1); }
  friend bool operator==(const TSchemeSettings&, const TSchemeSettings&) = default;
};

// Everything a compiled scheme holds.
struct TSchemeTables {
  TSchemeSettings settings;

  std::vector<TSM_CharGroup> groups;  // shared character groups, referred to by index

  std::vector<TWordEntry> words;      // the word table
  TTokenTable defaultTable;           // tokens outside InState blocks
  // Per state: index into stateTables, or -1 when the state has no InState table.
  std::array<std::int16_t, 256> stateTableOf;
  std::vector<TTokenTable> stateTables;

  std::array<TBodySpec, 256> handlers{};   // by token value; meaningful where hasHandler
  TStateSet hasHandler;                    // token values that have a handler
  std::array<TTokenRecord, 256> records{}; // by token value
  std::array<std::uint8_t, 256> map{};     // token value -> style
  std::array<TSchemeEffect, 256> effects{};// by style
  // The styles of the dark appearance ("%%darkeffects"); none present: the scheme has no dark
  // set and the light one is used everywhere.
  std::array<TSchemeEffect, 256> darkEffects{};

  TStateSet startStates;                   // default {0}
  TStateSet boundStates;
  TStateSet anchors;                       // token values at which a re-scan may restart
  std::array<TStateSet, 256> contextStates{};  // by token value; empty = start states

  std::vector<TKeywordTable> keywordTables;

  TKeyTable keys;
  std::vector<TReplaceEntry> autoReplace;
  std::string actKeys = kDefaultActKeys;
  std::vector<TTemplateEntry> templates;
  std::uint16_t templateHotKey = kDefaultTemplateHotKey;

  TSchemeTables() {
    stateTableOf.fill(-1);
    startStates.set(0);
    anchors.set(0);
  }
  // The token table of the lowest-numbered state in `s` that has one, else the default.
  [[nodiscard]] const TTokenTable& TableFor(const TStateSet& s) const noexcept;
  friend bool operator==(const TSchemeTables&, const TSchemeTables&) = default;
};

}  // namespace vlr
