// Printing of the editor control's text on a QPrinter: header, footer, line numbers, wrapping.
#pragma once

#include <QFont>
#include <QString>

#include "memo/engine/MemoEngine.h"

class QFontMetricsF;
class QPrinter;

namespace velora::memo {

class MemoPrinter {
 public:
  MemoPrinter(const MemoEngine& e, QFont font) : e_(e), font_(std::move(font)) {}
  // Prints the document, or the selected text, in black on white: a header with the title
  // (smoPrintFilename) and the date and time (smoPrintDate) over a rule, a footer "- %d -"
  // under a rule (smoPrintPageNos), "%6d:" before every hard line (smoPrintLineNos), and long
  // lines wrapped (smoPrintWrap) or cut after the last character that fits. False when the
  // printer cannot be started; nothing is printed then.
  bool print(QPrinter& printer, bool selectionOnly = false);
  // The header's date and time text (replaceable for tests).
  QString dateTime;

  // How many UTF-16 units from the start of text fit in width: whole characters only, at
  // least one character when the text is not empty (so that wrapping always goes on). The
  // text is measured only as far as it fits, whatever its length.
  static int fittingUnits(const QFontMetricsF& fm, QStringView text, qreal width);

 private:
  const MemoEngine& e_;
  QFont font_;
};

}  // namespace velora::memo
