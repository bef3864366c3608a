// Errors of the scheme-script compiler: their numbers, their texts and the positioned message.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace vlr {

// String-table numbers of the compiler's texts.
enum class TSchemeErrorId : int {
  None = 0,  // a text without a table number (for example the range-specifier texts)
  EqualsExpected = 4096,
  LParenExpected = 4097,
  RParenExpected = 4098,
  CommaExpected = 4099,
  LBracketExpected = 4100,
  RBracketExpected = 4101,
  StringExpected = 4102,
  SyntaxError = 4103,
  ExpressionExpected = 4104,
  TooManyEditableStyles = 4105,
  ValueMustBeByte = 4106,
  CharacterRange = 4107,
  DuplicateWord = 4108,
  SingleCharSpecExpected = 4109,
  MaxFourCharSpecs = 4110,
  NumericRange = 4111,
  DuplicateHandler = 4112,
  AmbiguousStartSet = 4113,
  DuplicateEffect = 4114,
  BadFontStyle = 4115,
  UnexpectedEof = 4116,
  UnknownScriptIdentifier = 4117,
  BlankKeyFunction = 4118,
  KeySpecRequired = 4119,
  NotImplementedYet = 4120,
  RecursiveMacro = 4121,
  ErrorNearLine = 4122,
  IncludeMissingTerminator = 4123,
  IncludeUnableToOpen = 4124,
  IdentifierWord = 4125,
  UnknownWord = 4126,
  UnknownCharacter = 4127,
  CustomLanguage = 4128,
  VersionMismatch = 4129,
  RangeError = 4130,
  ContextStateRespecified = 4131,
  InvalidRegistryData = 4132,
  InvalidStyleString = 4133,
  MacroNameExpectedAfterIfdef = 4134,
  IncludeNotEnclosed = 4135,
  MacroNameExpected = 4136,
};

// The table text of `id` as written in the string table (format directives left in place);
// empty for None and for numbers outside the table.
[[nodiscard]] std::string_view SchemeErrorText(TSchemeErrorId id) noexcept;

// One argument of SchemeFormat: a number or a text.
using TSchemeFormatArg = std::variant<long long, std::string>;

// Replaces the directives "%s", "%d" and "%.2x" of `format` one after the other by `args`;
// anything else (including "%%") is copied as it is, and substituted texts are not rescanned.
[[nodiscard]] std::string SchemeFormat(std::string_view format,
                                       std::initializer_list<TSchemeFormatArg> args);

// The text of `id` with its directives filled from `args`.
[[nodiscard]] std::string SchemeMessage(TSchemeErrorId id,
                                        std::initializer_list<TSchemeFormatArg> args = {});

// The text for a name that is neither a macro nor a reserved word: "Unknown Identifier 'name'".
[[nodiscard]] std::string UnknownIdentifierText(std::string_view name);

// "** ERROR near line %d, Column %d: %s" filled in.
[[nodiscard]] std::string FormatSchemeError(int line, int column, std::string_view text);

// A compile error: its number (None for texts outside the table), its text, and the script
// position (1-based line and column) where it was found.
class ESchemeError : public std::runtime_error {
 public:
  ESchemeError(TSchemeErrorId id, std::string text, int line, int column);

  [[nodiscard]] TSchemeErrorId Id() const noexcept { return id_; }
  [[nodiscard]] const std::string& Text() const noexcept { return text_; }
  [[nodiscard]] int Line() const noexcept { return line_; }
  [[nodiscard]] int Column() const noexcept { return column_; }
  // The message shown to the user: the positioned form of Text().
  [[nodiscard]] virtual std::string Message() const { return FormatSchemeError(line_, column_, text_); }

 private:
  TSchemeErrorId id_;
  std::string text_;
  int line_;
  int column_;
};

}  // namespace vlr
