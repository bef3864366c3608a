// The parser component's compile step and its stored form.
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace vlr {

void TSyntaxMemoParser::CompileScript() {
  // Compile first: a failing script throws before the current tables are touched.
  TSchemeTables compiled = CompileSchemeFile(Script);
  SetTables(std::move(compiled));
}

std::string TSyntaxMemoParser::ParserData() const {
  return hasTables_ ? WriteStoredForm(tables_) : std::string();
}

TStoredFormResult TSyntaxMemoParser::LoadParserData(std::string_view bytes, std::string_view name) {
  TStoredFormResult result = ReadStoredForm(bytes, name);
  if (result.Ok()) {
    SetTables(std::move(*result.tables));
  } else {
    ClearTables();
  }
  return result;
}

void TSyntaxMemoParser::Loaded() {
  if (AutoScriptUpdate && !Script.empty()) CompileScript();
}

}  // namespace vlr
