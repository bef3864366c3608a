// Scheme compiler driver: section dispatch, the shared reading helpers and the entry points.
#include "memo/engine/scheme/SchemeCompiler.h"

#include "memo/engine/scheme/CompileContext.h"

namespace vlr {

bool IsSectionHeader(const TSchemeToken& t) noexcept {
  return t.kind == TSchemeTokenKind::Word && t.word <= TReservedWord::SecDarkEffects;
}

bool IsValueStart(const TSchemeToken& t) noexcept {
  return t.kind == TSchemeTokenKind::Number || t.Is(TReservedWord::LParen);
}

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool TSchemeBuild::AtSectionEnd() {
  const TSchemeToken& p = r.Peek();
  return p.kind == TSchemeTokenKind::End || IsSectionHeader(p);
}

std::uint8_t TSchemeBuild::ReadByte() { return static_cast<std::uint8_t>(r.ReadValueIn(0, 255)); }

long long TSchemeBuild::ReadSingleValue(long long lo, long long hi) {
  const TSchemeToken t = r.Next();
  long long v = 0;
  if (t.kind == TSchemeTokenKind::Number) {
    v = t.number;
  } else if (t.Is(TReservedWord::LParen)) {
    v = r.ReadExpression();
    r.Expect(TReservedWord::RParen, TSchemeErrorId::RParenExpected);
  } else {
    FailAt(t, TSchemeErrorId::ExpressionExpected);
  }
  if (v < lo || v > hi) Fail(t, TSchemeErrorId::RangeError, {lo, hi});
  return v;
}

TSchemeToken TSchemeBuild::ReadStringToken() {
  TSchemeToken t = r.Next();
  if (t.kind != TSchemeTokenKind::String) FailAt(t, TSchemeErrorId::StringExpected);
  return t;
}

std::uint16_t TSchemeBuild::AddGroup(const TSM_CharGroup& group, const TSchemeToken& at) {
  const std::size_t index = groups.Add(group);
  if (index > 0xFFFF) FailText(at, "Too many different character groups");
  return static_cast<std::uint16_t>(index);
}

TTokenRecord& TSchemeBuild::Record(std::uint8_t v) {
  TTokenRecord& rec = t.records[v];
  if (!rec.present) {
    rec = TTokenRecord{};
    rec.present = true;
  }
  return rec;
}

void TSchemeBuild::FailAt(const TSchemeToken& at, TSchemeErrorId id) const {
  Fail(at, at.kind == TSchemeTokenKind::End ? TSchemeErrorId::UnexpectedEof : id);
}

TSchemeTables CompileScheme(TSYM_Compiler& reader) {
  reader.ResetMacros();
  TSchemeBuild b(reader);
  b.t.keys = DefaultKeyTable();
  try {
    for (;;) {
      const TSchemeToken header = reader.Next();
      if (header.kind == TSchemeTokenKind::End) break;
      b.context.clear();
      if (!IsSectionHeader(header)) b.Fail(header, TSchemeErrorId::SyntaxError);
      switch (header.word) {
        case TReservedWord::SecLanguage: CompileLanguage(b); break;
        case TReservedWord::SecWords: CompileWords(b); break;
        case TReservedWord::SecHandlers: CompileHandlers(b); break;
        case TReservedWord::SecTokens: CompileTokens(b); break;
        case TReservedWord::SecMap: CompileMap(b); break;
        case TReservedWord::SecEffects: CompileEffects(b); break;
        case TReservedWord::SecDarkEffects: CompileDarkEffects(b); break;
        case TReservedWord::SecStates: CompileStates(b); break;
        case TReservedWord::SecContainers: CompileContainers(b); break;
        case TReservedWord::SecKeys: CompileKeys(b); break;
        case TReservedWord::SecAutoReplace: CompileAutoReplace(b); break;
        case TReservedWord::SecTemplates: CompileTemplates(b); break;
        case TReservedWord::SecKwTables: CompileKwTables(b); break;
        default: b.Fail(header, TSchemeErrorId::SyntaxError);
      }
    }
    b.context = "End of script";
    FinishWords(b);
  } catch (const ESchemeCompileError&) {
    throw;
  } catch (const ESchemeError& e) {
    throw ESchemeCompileError(e, b.context);
  }
  b.t.groups = b.groups.Groups();
  return std::move(b.t);
}

TSchemeTables CompileSchemeText(std::string text, std::filesystem::path folder) {
  TSYM_Compiler reader;
  reader.OpenText(std::move(text), std::move(folder));
  return CompileScheme(reader);
}

TSchemeTables CompileSchemeFile(const std::filesystem::path& file) {
  TSYM_Compiler reader;
  reader.OpenFile(file);
  return CompileScheme(reader);
}

}  // namespace vlr
