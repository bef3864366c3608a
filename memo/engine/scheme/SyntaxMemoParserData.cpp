// The parser component's compile step and its stored form.
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

#include <new>

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
    try {
      SetTables(std::move(*result.tables));
    } catch (const std::bad_alloc&) {
      // Tables too large to install are a damaged form: the parser is left without tables.
      ClearTables();
      TStoredFormResult failed;
      failed.message = "Stored scheme is damaged: not enough memory to read it";
      return failed;
    }
  } else {
    ClearTables();
  }
  return result;
}

void TSyntaxMemoParser::Loaded() {
  if (AutoScriptUpdate && !Script.empty()) CompileScript();
}

}  // namespace vlr
