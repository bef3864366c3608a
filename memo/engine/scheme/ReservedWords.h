// Reserved words of the scheme-script language: section headers, keys, keywords and symbols.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vlr {

enum class TReservedWord : std::uint8_t {
  // Section headers ("%%handler" and "%%handlers" are one header).
  SecLanguage, SecWords, SecHandlers, SecTokens, SecMap, SecEffects, SecStates, SecContainers,
  SecKeys, SecAutoReplace, SecTemplates, SecKwTables, SecDarkEffects,
  // "%%language" keys.
  Name, Case, Options, ExampleText, EditableStyles, WordWrapColumn, Gutter, IndentStep,
  WrapOverride, RightMargin, FontName, FontSize, TabColumns, TabDefault, SelTextColor,
  SelTextBack, GutterColor, MarginColor, MarginWidth, StartState, BoundStates, Anchor,
  ContextStates,
  // Keywords of the entries.
  InState, Shift, Ctrl, Alt, Match, ActionKeys, HotKey, ForState, EndsWith, Is, Push, Pop,
  // Symbols.
  Equals, LParen, RParen, LBracket, RBracket, Comma, Plus, Minus, Question, Bar, Star,
};

// The reserved word spelt `text` (letter case ignored), if any. Symbols are found by their
// one-character spelling.
[[nodiscard]] std::optional<TReservedWord> FindReservedWord(std::string_view text);

// The spelling of `word` as the language writes it ("%%words", "InState", "=", ...).
[[nodiscard]] std::string_view ReservedWordText(TReservedWord word) noexcept;

[[nodiscard]] constexpr bool IsSymbol(TReservedWord word) noexcept { return word >= TReservedWord::Equals; }

}  // namespace vlr
