// Shared state of one scheme compilation: the reader, the tables being built, the group store
// and the context text, with the small reading helpers every section uses.
#pragma once

#include <cstdint>
#include <string>
#include <array>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "memo/engine/scheme/CharGroup.h"
#include "memo/engine/scheme/Reader.h"
#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

struct TSchemeBuild {
  explicit TSchemeBuild(TSYM_Compiler& reader) : r(reader) {}

  TSYM_Compiler& r;
  TSchemeTables t;
  TSM_CharGroupManager groups;
  std::string context;  // what is being read, for the error report

  // Words as written, for the duplicate test, and where each was written (for the test under
  // the case rule, which is known only at the end because `case` may follow the words).
  // Word texts with the state lists of their entries: a text may be defined again only for
  // states that none of its entries lists (and never without a list).
  std::unordered_map<std::string, std::vector<TStateSet>> wordTexts;
  // Case rule given to each keyword table with `case` (-1: the language's rule).
  std::vector<int> keywordCase;
  std::vector<std::pair<int, int>> wordAt;
  // Where each keyword of each keyword table was written, parallel to its word list.
  std::vector<std::vector<std::pair<int, int>>> keywordAt;
  std::array<bool, 256> contextGiven{};

  // True when the next token ends the current section: the end of input or a section header.
  [[nodiscard]] bool AtSectionEnd();
  // A byte value (token value, state, style): an expression in 0..255.
  std::uint8_t ReadByte();
  // A single value without a following "+"/"-" (a number or "(" expression ")") in lo..hi, for
  // places where "+" and "-" are item signs rather than operators.
  long long ReadSingleValue(long long lo, long long hi);
  // A string token ("String value expected" otherwise).
  TSchemeToken ReadStringToken();
  // The index of `group` in the shared group store.
  std::uint16_t AddGroup(const TSM_CharGroup& group, const TSchemeToken& at);
  // The record of token value `v`, created with empty sets and no state change when missing.
  TTokenRecord& Record(std::uint8_t v);

  [[noreturn]] void Fail(const TSchemeToken& at, TSchemeErrorId id,
                         std::initializer_list<TSchemeFormatArg> args = {}) const {
    r.Fail(at, id, args);
  }
  [[noreturn]] void FailText(const TSchemeToken& at, std::string text) const { r.FailText(at, std::move(text)); }
  // "Unexpected EOF" at the end of input, else `id`, at token `at`.
  [[noreturn]] void FailAt(const TSchemeToken& at, TSchemeErrorId id) const;
};

[[nodiscard]] inline TCharSpecOrigin OriginOf(const TSchemeToken& t) noexcept { return {t.line, t.column}; }
[[nodiscard]] bool IsSectionHeader(const TSchemeToken& t) noexcept;
[[nodiscard]] bool IsValueStart(const TSchemeToken& t) noexcept;
[[nodiscard]] std::string AsciiLower(std::string text);

// Section parsers: each reads the entries of its section up to the next header.
void CompileLanguage(TSchemeBuild& b);
void CompileWords(TSchemeBuild& b);
void CompileHandlers(TSchemeBuild& b);
void CompileTokens(TSchemeBuild& b);
void CompileMap(TSchemeBuild& b);
void CompileEffects(TSchemeBuild& b);
// "%%darkeffects": the styles of the dark appearance, written as "%%effects".
void CompileDarkEffects(TSchemeBuild& b);
void CompileStates(TSchemeBuild& b);
void CompileContainers(TSchemeBuild& b);
void CompileKwTables(TSchemeBuild& b);
void CompileKeys(TSchemeBuild& b);
void CompileAutoReplace(TSchemeBuild& b);
void CompileTemplates(TSchemeBuild& b);

// End of compilation: applies the case rule to the words and keyword tables (with their
// duplicate tests) and gives every token value without a context set the start states.
void FinishWords(TSchemeBuild& b);

// The tab-stop columns of `text` into `stops` (zero-based, free entries -1); errors at `at`.
void ParseTabColumns(TSchemeBuild& b, const std::string& text, std::array<int, kMaxTabStops>& stops,
                     const TSchemeToken& at);

}  // namespace vlr
