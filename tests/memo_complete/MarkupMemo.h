// A control with the HTML scheme and its typing aids on, shown and focused, for tests that type
// into it with real key events.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <string>

#include "HtmlPage.h"
#include "memo/widget/SyntaxMemo.h"

namespace completetest {

struct MarkupMemo : ::testing::Test {
  velora::memo::TSyntaxMemo memo;
  void SetUp() override {
    Highlight(memo.engine());
    memo.setMarkupAids(true);
    memo.resize(640, 360);
    memo.show();
    memo.setFocus();
    QApplication::processEvents();
  }
  // The text with "|" marking the caret, highlighted to the end.
  void Start(const std::string& marked) {
    const auto [text, caret] = Caret(marked);
    memo.setText(QByteArray::fromStdString(text));
    while (memo.engine().HighlightSlice(100000)) {
    }
    memo.setSelStart(caret);
  }
  [[nodiscard]] std::string Text() const { return memo.text().toStdString(); }
};

}  // namespace completetest
