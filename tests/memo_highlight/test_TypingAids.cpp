// The HTML scheme's code templates and auto-replace list as the parser hands them to a control,
// and the rule that auto-replace holds off in code: tags, attribute values, scripts, styles and
// comments, decided by the token value before the caret.
#include <gtest/gtest.h>

#include <string>

#include "memo/engine/MacroKeywords.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace {

using namespace velora::memo;

class TypingAids : public ::testing::Test {
 protected:
  void SetUp() override {
    parser.Script = VELORA_HTML_SCHEME_SCRIPT;
    parser.CompileScript();
    vlr::UseHtmlScanners(parser);
    ASSERT_EQ(parser.Compile(), "Compiled");
    ev.inCode = [this](Pos caret) {
      const auto v = engine.tokens(caret - 1, caret);
      return !v.empty() && !parser.isProseToken(v[0]);
    };
  }
  void Load(const std::string& text) {
    engine.setText(text);
    vlr::AttachHighlighter(engine, parser);
    Settle();
    engine.setSelection(engine.length(), engine.length());
  }
  void Settle() {
    while (engine.HighlightSlice(100000)) {
    }
  }
  // Types at the caret; act keys first offer the auto-replace.
  void Type(const std::string& s) {
    for (char c : s) {
      if (auto k = KeyForChar((unsigned char)c)) parser.autoReplace()->offerKey(engine, *k, ev);
      engine.typeText(std::string_view(&c, 1));
      Settle();
    }
  }

  vlr::TSyntaxMemoParser parser;
  MemoEngine engine;
  MacroEvents ev;
};

TEST_F(TypingAids, TheSchemeFillsTheListsOfTheParser) {
  TCodeTemplates* t = parser.codeTemplates();
  TAutoReplace* r = parser.autoReplace();
  ASSERT_NE(t, nullptr);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(t->hotKey, std::uint16_t(kCtrlKey | 'J'));
  EXPECT_FALSE(t->entries().empty());
  EXPECT_GT(r->entries().size(), 600u);
  EXPECT_TRUE(r->isActKey(kVkSpace));
  EXPECT_TRUE(r->isActKey(kVkReturn));
  engine.setText("teh");
  EXPECT_NE(r->matchBefore(engine.store(), 3), nullptr);
}

TEST_F(TypingAids, ReplacesInTextButNotInCode) {
  struct Case {
    const char* page;   // loaded, caret at its end
    const char* typed;
    const char* result;
  };
  const Case cases[] = {
      {"<p>", "teh ", "<p>the "},
      {"<p>Some ", "recieve.", "<p>Some receive."},
      {"<p class=", "\"teh ", "<p class=\"teh "},          // attribute value
      {"<p ", "teh ", "<p teh "},                           // inside a tag
      {"<!-- ", "teh ", "<!-- teh "},                       // comment
      {"<script>\r", "teh ", "<script>\rteh "},             // script
      {"<style>\r", "teh ", "<style>\rteh "},               // style block
      {"<p title='", "teh ", "<p title='teh "},
  };
  for (const Case& c : cases) {
    Load(c.page);
    Type(c.typed);
    EXPECT_EQ(engine.text(), c.result) << c.page << c.typed;
  }
  // Switched off, the rule no longer holds the replacement back.
  parser.autoReplace()->skipInCode = false;
  Load("<p ");
  Type("teh ");
  EXPECT_EQ(engine.text(), "<p the ");
  parser.autoReplace()->skipInCode = true;
}

}  // namespace
