// The stored form that schemec writes at build time equals compiling the same script here.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"

TEST(BuildScheme, SchemecOutputLoadsToTheCompiledTables) {
  std::ifstream in(VELORA_TEST_STORED_SCHEME, std::ios::binary);
  ASSERT_TRUE(in) << VELORA_TEST_STORED_SCHEME;
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  const vlr::TStoredFormResult r = vlr::ReadStoredForm(bytes, "SyntaxMemoParser1");
  ASSERT_TRUE(r.Ok()) << r.message;
  const vlr::TSchemeTables t = vlr::CompileSchemeFile(VELORA_TEST_SCHEME_SCRIPT);
  EXPECT_TRUE(*r.tables == t);
  EXPECT_EQ(t.words.size(), 2u);
  EXPECT_EQ(t.settings.name, "Build-time scheme");
}
