// The HTML scheme's tables (compiled once) and a parser holding them, for the options dialog tests.
#pragma once

#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

#include <gtest/gtest.h>

namespace velora::memo::test {

inline const vlr::TSchemeTables& HtmlTables() {
  static const vlr::TSchemeTables tables = vlr::CompileSchemeFile(VELORA_HTML_SCHEME_SCRIPT);
  return tables;
}

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { parser.SetTables(HtmlTables()); }
  vlr::TSyntaxMemoParser parser;
};

}  // namespace velora::memo::test
