// Token reader of the scheme-script compiler.
#include "memo/engine/scheme/Reader.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace vlr {

namespace {

constexpr int kNbsp = 0xA0;

bool IsNameStart(int c) noexcept { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsNameChar(int c) noexcept { return IsNameStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(int c) noexcept { return c >= '0' && c <= '9'; }
bool IsLineEnd(int c) noexcept { return c == '\r' || c == '\n'; }
int HexValue(int c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace

TSYM_Compiler::TSYM_Compiler() { AddPredefinedMacros(macros_); }

void TSYM_Compiler::ResetMacros() {
  macros_.Clear();
  AddPredefinedMacros(macros_);
}

void TSYM_Compiler::OpenText(std::string text, std::filesystem::path folder) {
  sources_.clear();
  conditions_.clear();
  peeked_.reset();
  last_ = TSchemeToken{};
  endLine_ = endColumn_ = 1;
  expansions_ = 0;
  Source s;
  s.text = std::move(text);
  s.folder = std::move(folder);
  sources_.push_back(std::move(s));
}

void TSYM_Compiler::OpenFile(const std::filesystem::path& file) {
  auto text = ReadWholeFile(file);
  if (!text) throw ESchemeError(TSchemeErrorId::None, "Unable to open script file \"" + file.string() + "\"", 0, 0);
  OpenText(std::move(*text), file.parent_path());
}

// ---- character level -------------------------------------------------------------------

int TSYM_Compiler::Peek0() const noexcept { return PeekAt(0); }

int TSYM_Compiler::PeekAt(std::size_t ahead) const noexcept {
  if (sources_.empty()) return -1;
  const Source& s = sources_.back();
  if (s.pos + ahead >= s.text.size()) return -1;
  return static_cast<unsigned char>(s.text[s.pos + ahead]);
}

void TSYM_Compiler::Advance() noexcept {
  Source& s = sources_.back();
  if (s.pos >= s.text.size()) return;
  const char c = s.text[s.pos++];
  // CR LF counts as one line end: the CR only moves the column, the LF ends the line.
  if (c == '\n' || (c == '\r' && (s.pos >= s.text.size() || s.text[s.pos] != '\n'))) {
    ++s.line;
    s.column = 1;
  } else {
    ++s.column;
  }
}

void TSYM_Compiler::PositionHere(TSchemeToken& t) const noexcept {
  if (sources_.empty()) {
    t.line = endLine_;
    t.column = endColumn_;
    return;
  }
  const Source& s = sources_.back();
  t.line = s.isFile ? s.line : s.atLine;
  t.column = s.isFile ? s.column : s.atColumn;
}

void TSYM_Compiler::FailHere(TSchemeErrorId id, std::initializer_list<TSchemeFormatArg> args) const {
  TSchemeToken at;
  PositionHere(at);
  Fail(at, id, args);
}

void TSYM_Compiler::SkipToLineEnd() noexcept {
  while (Peek0() >= 0 && !IsLineEnd(Peek0())) Advance();
}

void TSYM_Compiler::SkipLineBlanks(bool withNbsp) noexcept {
  for (int c = Peek0(); c == ' ' || c == '\t' || (withNbsp && c == kNbsp); c = Peek0()) Advance();
}

void TSYM_Compiler::SkipBlanksAndComments() {
  for (;;) {
    const int c = Peek0();
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      Advance();
    } else if (c == '/' && PeekAt(1) == '/') {
      SkipToLineEnd();
    } else if (c == '/' && PeekAt(1) == '*') {
      TSchemeToken start;
      PositionHere(start);
      Advance();
      Advance();
      while (!(Peek0() == '*' && PeekAt(1) == '/')) {
        if (Peek0() < 0) Fail(start, TSchemeErrorId::UnexpectedEof);
        Advance();
      }
      Advance();
      Advance();
    } else {
      return;
    }
  }
}

std::string TSYM_Compiler::ReadName() {
  std::string name;
  if (!IsNameStart(Peek0())) return name;
  while (IsNameChar(Peek0())) {
    name += static_cast<char>(Peek0());
    Advance();
  }
  return name;
}

// ---- sources ---------------------------------------------------------------------------

const TSYM_Compiler::Source& TSYM_Compiler::InnermostFile() const noexcept {
  for (auto it = sources_.rbegin(); it != sources_.rend(); ++it)
    if (it->isFile) return *it;
  return sources_.front();  // the bottom source is always a file
}

bool TSYM_Compiler::PopFinishedSource() {
  const Source& s = sources_.back();
  if (s.isFile && conditions_.size() > s.conditionsAtOpen) FailHere(TSchemeErrorId::UnexpectedEof);
  if (sources_.size() == 1) {
    endLine_ = s.line;
    endColumn_ = s.column;
  }
  sources_.pop_back();
  return !sources_.empty();
}

void TSYM_Compiler::ExpandMacro(const std::string& name, const std::string& text, const TSchemeToken& at) {
  const std::string key = TWordStore::Key(name);
  for (const Source& s : sources_)
    if (!s.isFile && s.macroKey == key) Fail(at, TSchemeErrorId::RecursiveMacro, {name});
  if (++expansions_ > kMaxExpansions) FailText(at, "Too many macro expansions at macro '" + name + "'");
  Source m;
  m.text = text;
  m.isFile = false;
  m.macroKey = key;
  m.atLine = at.line;
  m.atColumn = at.column;
  sources_.push_back(std::move(m));
}

// ---- preprocessor ----------------------------------------------------------------------

bool TSYM_Compiler::TryDirective(const TSchemeToken& at) {
  std::string word;
  for (std::size_t i = 1; IsNameChar(PeekAt(i)); ++i) word += static_cast<char>(PeekAt(i));
  enum { Define, Ifdef, Ifndef, Else, Endif, Include } kind;
  if (word == "define") kind = Define;
  else if (word == "ifdef") kind = Ifdef;
  else if (word == "ifndef") kind = Ifndef;
  else if (word == "else") kind = Else;
  else if (word == "endif") kind = Endif;
  else if (word == "include") kind = Include;
  else return false;
  for (std::size_t i = 0; i <= word.size(); ++i) Advance();

  switch (kind) {
    case Define:
      if (Active()) DoDefine();
      else SkipToLineEnd();
      break;
    case Ifdef:
    case Ifndef: {
      if (!Active()) {
        conditions_.push_back({false, false, true, false});
        break;
      }
      SkipLineBlanks(true);
      const std::string name = ReadName();
      if (name.empty()) FailHere(TSchemeErrorId::MacroNameExpectedAfterIfdef);
      const bool defined = macros_.IsDefined(name);
      const bool value = kind == Ifdef ? defined : !defined;
      conditions_.push_back({true, value, value, false});
      break;
    }
    case Else: {
      if (conditions_.size() <= InnermostFile().conditionsAtOpen || conditions_.back().elseSeen)
        Fail(at, TSchemeErrorId::SyntaxError);
      Condition& c = conditions_.back();
      c.elseSeen = true;
      c.active = c.parentActive && !c.taken;
      c.taken = true;
      break;
    }
    case Endif:
      if (conditions_.size() <= InnermostFile().conditionsAtOpen) Fail(at, TSchemeErrorId::SyntaxError);
      conditions_.pop_back();
      break;
    case Include:
      if (Active()) {
        DoInclude(at);
      } else {
        // Skipped: pass over the file name so that quotes in it start no string.
        SkipLineBlanks(false);
        if (const int open = Peek0(); open == '"' || open == '<') {
          Advance();
          while (Peek0() >= 0 && !IsLineEnd(Peek0()) && Peek0() != (open == '"' ? '"' : '>')) Advance();
          Advance();
        }
      }
      break;
  }
  return true;
}

void TSYM_Compiler::DoDefine() {
  SkipLineBlanks(true);
  const std::string name = ReadName();
  if (name.empty()) FailHere(TSchemeErrorId::MacroNameExpected);
  SkipLineBlanks(true);
  std::string text;
  while (Peek0() >= 0 && !IsLineEnd(Peek0())) {
    text += static_cast<char>(Peek0());
    Advance();
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' ||
                           static_cast<unsigned char>(text.back()) == kNbsp))
    text.pop_back();
  macros_.Define(name, text);
}

void TSYM_Compiler::DoInclude(const TSchemeToken& at) {
  SkipLineBlanks(false);
  const int open = Peek0();
  if (open != '"' && open != '<') FailHere(TSchemeErrorId::IncludeNotEnclosed);
  const char close = open == '"' ? '"' : '>';
  Advance();
  std::string name;
  while (Peek0() != close) {
    if (Peek0() < 0 || IsLineEnd(Peek0())) FailHere(TSchemeErrorId::IncludeMissingTerminator, {std::string(1, close)});
    name += static_cast<char>(Peek0());
    Advance();
  }
  Advance();

  const auto unable = [&] {
    Fail(at, TSchemeErrorId::IncludeUnableToOpen,
         {std::string(1, static_cast<char>(open)), name, std::string(1, close)});
  };
  std::size_t depth = 0;
  for (const Source& s : sources_) depth += s.isFile ? 1 : 0;
  if (name.empty() || depth >= kMaxIncludeDepth) unable();

  // "..." looks beside the including file first, <...> in the search path first.
  std::vector<std::filesystem::path> folders;
  const std::filesystem::path own = InnermostFile().folder;
  if (open == '"') folders.push_back(own);
  folders.insert(folders.end(), includePath_.begin(), includePath_.end());
  if (open == '<') folders.push_back(own);

  const std::filesystem::path relative(name);
  for (const auto& folder : folders) {
    const std::filesystem::path file = relative.is_absolute() ? relative : folder / relative;
    if (auto text = ReadWholeFile(file)) {
      Source s;
      s.text = std::move(*text);
      s.folder = file.parent_path();
      s.conditionsAtOpen = conditions_.size();
      sources_.push_back(std::move(s));
      return;
    }
    if (relative.is_absolute()) break;
  }
  unable();
}

// ---- tokens ----------------------------------------------------------------------------

std::string TSYM_Compiler::ReadStringBody(const TSchemeToken& at, std::string& raw) {
  std::string out;
  raw.clear();
  for (;;) {
    const int c = Peek0();
    if (c < 0) Fail(at, TSchemeErrorId::UnexpectedEof);
    if (IsLineEnd(c)) Fail(at, TSchemeErrorId::SyntaxError);  // closing quote missing on the line
    Advance();
    if (c == '\'') return out;
    if (c != '\\') {
      out += static_cast<char>(c);
      raw += static_cast<char>(c);
      continue;
    }
    const int d = Peek0();
    if (d < 0) Fail(at, TSchemeErrorId::UnexpectedEof);
    if (IsLineEnd(d)) {
      // Continued on the next line: its leading blanks and one backslash there are skipped.
      Advance();
      if (d == '\r' && Peek0() == '\n') Advance();
      SkipLineBlanks(false);
      if (Peek0() == '\\') Advance();
      continue;
    }
    // The raw spelling keeps the backslash and every character the escape consumes.
    const std::size_t escapeStart = sources_.back().pos - 1;
    const auto keepRaw = [&] {
      const Source& s = sources_.back();
      raw.append(s.text, escapeStart, s.pos - escapeStart);
    };
    if (d == 'x' && HexValue(PeekAt(1)) >= 0) {
      Advance();
      int v = 0;
      for (int n = 0; n < 2 && HexValue(Peek0()) >= 0; ++n) {
        v = v * 16 + HexValue(Peek0());
        Advance();
      }
      out += static_cast<char>(v);
      keepRaw();
      continue;
    }
    if (d >= '0' && d <= '7') {
      int v = 0;
      for (int n = 0; n < 3 && Peek0() >= '0' && Peek0() <= '7'; ++n) {
        v = v * 8 + (Peek0() - '0');
        Advance();
      }
      if (v > 255) Fail(at, TSchemeErrorId::CharacterRange);
      out += static_cast<char>(v);
      keepRaw();
      continue;
    }
    Advance();
    keepRaw();
    switch (d) {
      case 'b': out += '\x08'; break;
      case 'e': out += '\x1b'; break;
      case 'n': out += '\x0d'; break;  // the text store ends lines with carriage return
      case 'r': out += '\x0a'; break;
      case 's': out += ' '; break;
      case 't': out += '\t'; break;
      default: out += static_cast<char>(d); break;
    }
  }
}

void TSYM_Compiler::SkipStringBody() noexcept {
  for (int c = Peek0(); c >= 0 && !IsLineEnd(c); c = Peek0()) {
    Advance();
    if (c == '\'') return;
    if (c == '\\') Advance();
  }
}

TSchemeToken TSYM_Compiler::ReadToken() {
  for (;;) {
    TSchemeToken t;
    if (sources_.empty()) {
      PositionHere(t);
      return t;
    }
    SkipBlanksAndComments();
    if (Peek0() < 0) {
      PopFinishedSource();
      continue;
    }
    PositionHere(t);
    const int c = Peek0();
    if (c == '#' && TryDirective(t)) continue;

    if (!Active()) {
      // Skipped text: only strings and names need care, so that a "#" inside them is no directive.
      if (c == '\'') {
        Advance();
        SkipStringBody();
      } else if (IsNameStart(c)) {
        ReadName();
      } else {
        Advance();
      }
      continue;
    }

    if (IsNameStart(c)) {
      const std::string name = ReadName();
      if (const std::string* text = macros_.Find(name)) {
        ExpandMacro(name, *text, t);
        continue;
      }
      const auto word = FindReservedWord(name);
      if (!word) throw ESchemeError(TSchemeErrorId::UnknownWord, UnknownIdentifierText(name), t.line, t.column);
      t.kind = TSchemeTokenKind::Word;
      t.word = *word;
      t.text = name;
      return t;
    }
    if (IsDigit(c)) {
      long long v = 0;
      while (IsDigit(Peek0())) {
        v = v * 10 + (Peek0() - '0');
        if (v > kMaxValue) Fail(t, TSchemeErrorId::NumericRange);
        t.text += static_cast<char>(Peek0());
        Advance();
      }
      t.kind = TSchemeTokenKind::Number;
      t.number = v;
      return t;
    }
    if (c == '\'') {
      Advance();
      t.kind = TSchemeTokenKind::String;
      t.text = ReadStringBody(t, t.raw);
      return t;
    }
    if (c == '%' && PeekAt(1) == '%' && IsNameStart(PeekAt(2))) {
      Advance();
      Advance();
      const std::string name = "%%" + ReadName();
      const auto word = FindReservedWord(name);
      if (!word) throw ESchemeError(TSchemeErrorId::UnknownWord, UnknownIdentifierText(name), t.line, t.column);
      t.kind = TSchemeTokenKind::Word;
      t.word = *word;
      t.text = name;
      return t;
    }
    if (const auto word = FindReservedWord(std::string(1, static_cast<char>(c))); word && IsSymbol(*word)) {
      Advance();
      t.kind = TSchemeTokenKind::Symbol;
      t.word = *word;
      t.text = std::string(1, static_cast<char>(c));
      return t;
    }
    Fail(t, TSchemeErrorId::UnknownCharacter, {static_cast<long long>(c)});
  }
}

// ---- parser helpers --------------------------------------------------------------------

TSchemeToken TSYM_Compiler::Next() {
  if (peeked_) {
    last_ = std::move(*peeked_);
    peeked_.reset();
  } else {
    last_ = ReadToken();
  }
  return last_;
}

const TSchemeToken& TSYM_Compiler::Peek() {
  if (!peeked_) peeked_ = ReadToken();
  return *peeked_;
}

bool TSYM_Compiler::Accept(TReservedWord w) {
  if (!Peek().Is(w)) return false;
  Next();
  return true;
}

void TSYM_Compiler::Expect(TReservedWord w, TSchemeErrorId id) {
  const TSchemeToken t = Next();
  if (t.kind == TSchemeTokenKind::End) Fail(t, TSchemeErrorId::UnexpectedEof);
  if (!t.Is(w)) Fail(t, id);
}

std::string TSYM_Compiler::ReadString() {
  TSchemeToken t = Next();
  if (t.kind != TSchemeTokenKind::String) Fail(t, TSchemeErrorId::StringExpected);
  return std::move(t.text);
}

long long TSYM_Compiler::ReadValue() {
  const TSchemeToken t = Next();
  if (t.kind == TSchemeTokenKind::Number) return t.number;
  if (t.Is(TReservedWord::LParen)) {
    if (nesting_ >= kMaxNesting)
      FailText(t, "Expression nested too deeply: at most " + std::to_string(kMaxNesting) + " levels of '(' are allowed");
    ++nesting_;
    // The count is restored on the way out, also when an error unwinds through here.
    struct Leave {
      int& n;
      ~Leave() { --n; }
    } leave{nesting_};
    const long long v = ReadExpression();
    Expect(TReservedWord::RParen, TSchemeErrorId::RParenExpected);
    return v;
  }
  if (t.kind == TSchemeTokenKind::End) Fail(t, TSchemeErrorId::UnexpectedEof);
  Fail(t, TSchemeErrorId::ExpressionExpected);
}

long long TSYM_Compiler::ReadExpression() {
  long long v = ReadValue();
  for (;;) {
    const bool plus = Peek().Is(TReservedWord::Plus);
    if (!plus && !Peek().Is(TReservedWord::Minus)) return v;
    const TSchemeToken op = Next();
    v = plus ? v + ReadValue() : v - ReadValue();
    if (v > kMaxValue || v < -kMaxValue) Fail(op, TSchemeErrorId::NumericRange);
  }
}

long long TSYM_Compiler::ReadValueIn(long long lo, long long hi) {
  const TSchemeToken at = Peek();
  const long long v = ReadExpression();
  if (v < lo || v > hi) Fail(at, TSchemeErrorId::RangeError, {lo, hi});
  return v;
}

TStateSet TSYM_Compiler::ReadStateList() {
  Expect(TReservedWord::LBracket, TSchemeErrorId::LBracketExpected);
  TStateSet states;
  for (;;) {
    const TSchemeToken& p = Peek();
    if (p.Is(TReservedWord::RBracket)) {
      Next();
      return states;
    }
    if (p.kind == TSchemeTokenKind::End) Fail(p, TSchemeErrorId::UnexpectedEof);
    states.set(static_cast<std::size_t>(ReadValueIn(0, 255)));
    Accept(TReservedWord::Comma);
  }
}

TStateSet TSYM_Compiler::ReadStates() {
  if (Peek().Is(TReservedWord::LBracket)) return ReadStateList();
  TStateSet states;
  states.set(static_cast<std::size_t>(ReadValueIn(0, 255)));
  return states;
}

void TSYM_Compiler::Fail(const TSchemeToken& at, TSchemeErrorId id,
                         std::initializer_list<TSchemeFormatArg> args) const {
  throw ESchemeError(id, SchemeMessage(id, args), at.line, at.column);
}

void TSYM_Compiler::FailText(const TSchemeToken& at, std::string text) const {
  throw ESchemeError(TSchemeErrorId::None, std::move(text), at.line, at.column);
}

}  // namespace vlr
