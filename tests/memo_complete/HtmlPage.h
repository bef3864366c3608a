// A control with the program's HTML scheme, highlighted to the end, for the typing-aid tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace completetest {

// The scheme compiled once from its script (compiling is the slow part).
inline vlr::TSyntaxMemoParser& HtmlParser() {
  static vlr::TSyntaxMemoParser* parser = [] {
    auto* p = new vlr::TSyntaxMemoParser;
    p->Script = VELORA_HTML_SCHEME_SCRIPT;
    p->CompileScript();
    vlr::UseHtmlScanners(*p);
    const std::string result = p->Compile();
    EXPECT_EQ(result, "Compiled");
    return p;
  }();
  return *parser;
}

inline void Highlight(velora::memo::MemoEngine& e) {
  vlr::AttachHighlighter(e, HtmlParser());
  while (e.HighlightSlice(100000)) {
  }
}

// Text with "|" where the caret goes: the text without it, and the caret's position.
inline std::pair<std::string, velora::memo::Pos> Caret(std::string marked) {
  const std::size_t at = marked.find('|');
  EXPECT_NE(at, std::string::npos);
  marked.erase(at, 1);
  return {marked, velora::memo::Pos(at)};
}

}  // namespace completetest
