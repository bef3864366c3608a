// Token reader of the scheme-script compiler: lexical rules, macros, preprocessor and includes.
//
// The reader delivers one token at a time from a stack of sources: the script file, files it
// includes, and macro texts being expanded. Identifiers are looked up among the macros first
// (a macro is replaced by its text and reading continues inside it), then among the reserved
// words; anything else is an error. Every token carries the line and column (1-based) of its
// first character in the file it came from; tokens read from a macro text carry the position
// of the macro's name. Every error is thrown as ESchemeError with that position.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/scheme/ReservedWords.h"
#include "memo/engine/scheme/SchemeError.h"
#include "memo/engine/scheme/StateSet.h"
#include "memo/engine/scheme/WordStore.h"

namespace vlr {

enum class TSchemeTokenKind : std::uint8_t {
  End,       // no more input
  Word,      // a reserved word; `word` holds it
  Symbol,    // one of = ( ) [ ] , + - ? | *; `word` holds it
  Number,    // a run of decimal digits; `number` holds its value
  String,    // a quoted string; `text` holds its bytes with escapes resolved
};

struct TSchemeToken {
  TSchemeTokenKind kind = TSchemeTokenKind::End;
  TReservedWord word = TReservedWord::SecLanguage;
  long long number = 0;
  std::string text;  // string bytes, or the spelling of a word, symbol or number
  // Strings only: the bytes between the quotes as written, escapes not resolved (a line
  // continuation is joined), so that character specifications and key texts can read their own
  // escapes: in a specification an escaped "[" is a plain character, not the start of a set.
  std::string raw;
  int line = 1;
  int column = 1;

  [[nodiscard]] bool Is(TReservedWord w) const noexcept {
    return (kind == TSchemeTokenKind::Word || kind == TSchemeTokenKind::Symbol) && word == w;
  }
};

class TSYM_Compiler {
 public:
  // Largest number or expression value; larger ones are "Numeric value out of range".
  static constexpr long long kMaxValue = 2147483647;
  // Deepest nesting of "(" in an expression; deeper scripts fail instead of exhausting the stack.
  static constexpr int kMaxNesting = 64;
  // Deepest nesting of #include files; deeper nesting (a file that includes itself without a
  // guard) is reported as a file that cannot be opened.
  static constexpr std::size_t kMaxIncludeDepth = 64;

  // Most macro expansions in one script: macros that each use the previous one twice grow
  // exponentially, and reading stops with an error instead of running for ever.
  static constexpr std::size_t kMaxExpansions = 200000;

  // A reader with the predefined macros and no input.
  TSYM_Compiler();

  // Folders searched for #include files after the including file's own folder ("...") or
  // before it (<...>).
  void SetIncludePath(std::vector<std::filesystem::path> folders) { includePath_ = std::move(folders); }

  // Starts reading `text` as a script whose includes are relative to `folder`. Clears the
  // conditional state and any earlier input; the macros are kept.
  void OpenText(std::string text, std::filesystem::path folder = {});
  // Starts reading the script file `file`; throws ESchemeError (line 0) when it cannot be read.
  void OpenFile(const std::filesystem::path& file);

  // Empties the macro store and fills it with the predefined macros again.
  void ResetMacros();
  [[nodiscard]] TWordStore& Macros() noexcept { return macros_; }
  [[nodiscard]] const TWordStore& Macros() const noexcept { return macros_; }

  // The next token, consumed.
  TSchemeToken Next();
  // The next token, left to be returned by the following Next().
  const TSchemeToken& Peek();
  // The token most recently returned by Next() (an End token at line 1 before the first).
  [[nodiscard]] const TSchemeToken& Last() const noexcept { return last_; }

  // Consumes the next token if it is `w`.
  bool Accept(TReservedWord w);
  // Consumes the next token, which must be `w`; otherwise throws `id` at that token ("Unexpected
  // EOF" at the end of input).
  void Expect(TReservedWord w, TSchemeErrorId id);
  // Consumes a string token and returns its bytes ("String value expected" otherwise).
  std::string ReadString();

  // value { ("+" | "-") value }, where a value is a number or "(" expression ")".
  long long ReadExpression();
  // An expression that must lie in lo..hi ("Range error, value outwith %d .. %d").
  long long ReadValueIn(long long lo, long long hi);
  // "[" values separated by optional commas "]", each value a state 0..255.
  TStateSet ReadStateList();
  // A state list, or a single state.
  TStateSet ReadStates();

  // Throws ESchemeError with the text of `id` filled from `args`, at `at`.
  [[noreturn]] void Fail(const TSchemeToken& at, TSchemeErrorId id,
                         std::initializer_list<TSchemeFormatArg> args = {}) const;
  // Throws ESchemeError with a text outside the string table, at `at`.
  [[noreturn]] void FailText(const TSchemeToken& at, std::string text) const;

 private:
  struct Source {
    std::string text;
    std::size_t pos = 0;
    int line = 1;
    int column = 1;
    bool isFile = true;
    std::string macroKey;             // macro sources: the macro's key in the store
    std::filesystem::path folder;     // file sources: folder for relative includes
    std::size_t conditionsAtOpen = 0; // file sources: conditional depth when opened
    int atLine = 1;                   // macro sources: position of the macro's name
    int atColumn = 1;
  };
  struct Condition {
    bool parentActive;
    bool active;
    bool taken;     // a branch of this conditional was read
    bool elseSeen;
  };

  TSchemeToken ReadToken();
  [[nodiscard]] bool Active() const noexcept { return conditions_.empty() || conditions_.back().active; }
  [[nodiscard]] int Peek0() const noexcept;
  [[nodiscard]] int PeekAt(std::size_t ahead) const noexcept;
  void Advance() noexcept;
  void SkipBlanksAndComments();
  void SkipToLineEnd() noexcept;
  void SkipLineBlanks(bool withNbsp) noexcept;
  std::string ReadName();
  void PositionHere(TSchemeToken& t) const noexcept;
  [[noreturn]] void FailHere(TSchemeErrorId id, std::initializer_list<TSchemeFormatArg> args = {}) const;

  bool PopFinishedSource();
  bool TryDirective(const TSchemeToken& at);
  void DoDefine();
  void DoInclude(const TSchemeToken& at);
  void ExpandMacro(const std::string& name, const std::string& text, const TSchemeToken& at);
  [[nodiscard]] const Source& InnermostFile() const noexcept;
  std::string ReadStringBody(const TSchemeToken& at, std::string& raw);
  void SkipStringBody() noexcept;
  long long ReadValue();

  TWordStore macros_;
  std::vector<Source> sources_;
  std::vector<Condition> conditions_;
  std::vector<std::filesystem::path> includePath_;
  std::optional<TSchemeToken> peeked_;
  std::size_t expansions_ = 0;
  int nesting_ = 0;  // open "(" of the expression being read
  TSchemeToken last_;
  // Position of the end of the script, for the End token.
  int endLine_ = 1;
  int endColumn_ = 1;
};

}  // namespace vlr
