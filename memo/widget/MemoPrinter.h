// Printing of the editor control's text on a QPrinter: header, footer, line numbers, wrapping.
#pragma once

#include <QFont>
#include <QString>

#include "memo/engine/MemoEngine.h"

class QPrinter;
class QPainter;

namespace velora::memo {

class MemoPrinter {
 public:
  MemoPrinter(const MemoEngine& e, QFont font) : e_(e), font_(std::move(font)) {}
  // Prints in black on white: header (title, date - time), rules, footer "- %d -", line numbers
  // "%6d:" on hard lines, long lines wrapped when smoPrintWrap is set (else cut at the page edge).
  void print(QPrinter& printer, bool selectionOnly = false);
  // The header's date and time text (replaceable for tests).
  QString dateTime;

 private:
  const MemoEngine& e_;
  QFont font_;
};

}  // namespace velora::memo
