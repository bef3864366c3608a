// The "%%language" section: `key = value` lines that fill the language settings and sets.
#include <string>

#include "memo/engine/keys/TabStops.h"
#include "memo/engine/scheme/CompileContext.h"

namespace vlr {

namespace {

using RW = TReservedWord;

constexpr std::size_t kMaxNameLength = 35;
constexpr std::size_t kMaxWrapOverride = 35;
constexpr std::size_t kMaxStyleName = 25;
constexpr long long kMaxNumber = TSYM_Compiler::kMaxValue;

std::string Cut(std::string text, std::size_t n) {
  if (text.size() > n) text.resize(n);
  return text;
}

// "Name", "Wordwrapcolumn", ...: the key's spelling with a capital, for the context text.
std::string KeyTitle(std::string_view spelling) {
  std::string s(spelling);
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

int ReadNumber(TSchemeBuild& b) { return static_cast<int>(b.r.ReadValueIn(0, kMaxNumber)); }

// Optionally "[" "*" "]" (use the default colour), then a colour number.
TSchemeColor ReadColor(TSchemeBuild& b) {
  TSchemeColor c;
  c.useDefault = false;
  if (b.r.Accept(RW::LBracket)) {
    b.r.Expect(RW::Star, TSchemeErrorId::SyntaxError);
    b.r.Expect(RW::RBracket, TSchemeErrorId::RBracketExpected);
    c.useDefault = true;
  }
  c.color = static_cast<std::uint32_t>(b.r.ReadValueIn(0, kMaxNumber));
  return c;
}

void ReadEditableStyles(TSchemeBuild& b) {
  b.t.settings.editableStyles.clear();
  do {
    const TSchemeToken open = b.r.Peek();
    b.r.Expect(RW::LParen, TSchemeErrorId::LParenExpected);
    if (b.t.settings.editableStyles.size() >= kMaxEditableStyles) b.Fail(open, TSchemeErrorId::TooManyEditableStyles);
    TEditableStyle style;
    style.name = Cut(b.r.ReadString(), kMaxStyleName);
    b.r.Expect(RW::Comma, TSchemeErrorId::CommaExpected);
    const TSchemeToken at = b.r.Peek();
    const long long n = b.r.ReadExpression();
    if (n < 0 || n > 255) b.Fail(at, TSchemeErrorId::ValueMustBeByte);
    style.style = static_cast<std::uint8_t>(n);
    b.r.Expect(RW::RParen, TSchemeErrorId::RParenExpected);
    b.t.settings.editableStyles.push_back(std::move(style));
  } while (b.r.Accept(RW::Comma));
}

// "(" token values [state list] ")" groups separated by ",".
void ReadContextStates(TSchemeBuild& b) {
  do {
    b.r.Expect(RW::LParen, TSchemeErrorId::LParenExpected);
    std::vector<std::uint8_t> values;
    TStateSet states;
    for (;;) {
      const TSchemeToken p = b.r.Peek();
      if (p.Is(RW::RParen)) {
        b.r.Next();
        break;
      }
      if (p.Is(RW::LBracket)) {
        states = b.r.ReadStateList();
        b.r.Expect(RW::RParen, TSchemeErrorId::RParenExpected);
        break;
      }
      if (!IsValueStart(p)) b.FailAt(p, TSchemeErrorId::RParenExpected);
      const std::uint8_t v = b.ReadByte();
      if (b.contextGiven[v]) b.Fail(p, TSchemeErrorId::ContextStateRespecified, {static_cast<long long>(v)});
      b.contextGiven[v] = true;
      values.push_back(v);
      b.r.Accept(RW::Comma);
    }
    for (const std::uint8_t v : values) b.t.contextStates[v] = states;
  } while (b.r.Accept(RW::Comma));
}

void ReadKey(TSchemeBuild& b, const TSchemeToken& key) {
  TSchemeSettings& s = b.t.settings;
  switch (key.word) {
    case RW::Name: s.name = Cut(b.r.ReadString(), kMaxNameLength); break;
    case RW::Case: s.caseSensitive = b.r.ReadExpression() != 0; break;
    case RW::Options: s.options = static_cast<std::uint32_t>(b.r.ReadValueIn(0, kMaxNumber)); break;
    case RW::ExampleText: s.exampleText = b.r.ReadString(); break;
    case RW::EditableStyles: ReadEditableStyles(b); break;
    case RW::WordWrapColumn: s.wordWrapColumn = ReadNumber(b); break;
    case RW::Gutter: s.gutterWidth = ReadNumber(b); break;
    case RW::IndentStep: s.indentStep = static_cast<int>(b.r.ReadValueIn(0, 20)); break;
    case RW::WrapOverride: s.wrapOverride = Cut(b.r.ReadString(), kMaxWrapOverride); break;
    case RW::RightMargin: s.rightMargin = ReadNumber(b); break;
    case RW::FontName: s.fontName = b.r.ReadString(); break;
    case RW::FontSize: s.fontSize = ReadNumber(b); break;
    case RW::TabColumns: {
      const TSchemeToken t = b.ReadStringToken();
      std::array<int, kMaxTabStops> stops;
      ParseTabColumns(b, t.text, stops, t);
      s.tabColumns = t.text;
      s.tabStops = stops;
      break;
    }
    case RW::TabDefault: {
      const TSchemeToken at = b.r.Peek();
      const long long v = b.r.ReadExpression();
      try {
        CheckDefaultTab(v);
      } catch (const velora::memo::ESyntaxMemo& e) {
        b.FailText(at, e.what());
      }
      s.tabDefault = static_cast<int>(v);
      break;
    }
    case RW::SelTextColor: s.selTextColor = ReadColor(b); break;
    case RW::SelTextBack: s.selTextBack = ReadColor(b); break;
    case RW::GutterColor: s.gutterColor = ReadColor(b); break;
    case RW::MarginColor: s.marginColor = static_cast<std::uint32_t>(b.r.ReadValueIn(0, kMaxNumber)); break;
    case RW::MarginWidth: s.marginWidth = ReadNumber(b); break;
    case RW::StartState: b.t.startStates = b.r.ReadStates(); break;
    case RW::BoundStates: b.t.boundStates = b.r.ReadStates(); break;
    case RW::Anchor:
      b.t.anchors = b.r.ReadStates();
      if (b.t.anchors.none()) b.t.anchors.set(0);
      break;
    case RW::ContextStates: ReadContextStates(b); break;
    default: b.Fail(key, TSchemeErrorId::UnknownScriptIdentifier);
  }
}

}  // namespace

void CompileLanguage(TSchemeBuild& b) {
  while (!b.AtSectionEnd()) {
    const TSchemeToken key = b.r.Next();
    if (key.kind != TSchemeTokenKind::Word) b.Fail(key, TSchemeErrorId::UnknownScriptIdentifier);
    b.context = "%%Language - " + KeyTitle(ReservedWordText(key.word));
    if (key.word < RW::Name || key.word > RW::ContextStates) b.Fail(key, TSchemeErrorId::UnknownScriptIdentifier);
    b.r.Expect(RW::Equals, TSchemeErrorId::EqualsExpected);
    ReadKey(b, key);
  }
}

}  // namespace vlr
