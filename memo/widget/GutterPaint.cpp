// TSyntaxMemo's gutter and current line. The gutter is the strip left of the text: the mark area
// (smoShowGutter, gutterWidth pixels) holding the numbered bookmarks on the left and the line
// marks from the right, then the line numbers (smaLineNumbers), as many cells wide as the line
// count has digits and half a cell on each side. The caret's line number is drawn bold, and with
// smaCurrentLine (or ShowFocusLine) the rows of the caret's line get a band behind their text.
#include <QMetaMethod>
#include <QPainter>
#include <algorithm>

#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

QColor toQColor(Color c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// A colour moved `percent` of the way toward black on light colours and toward white on dark ones.
QColor shade(const QColor& b, int percent) {
  const int toward = b.lightness() >= 128 ? 0 : 255;
  auto mix = [&](int v) { return v + (toward - v) * percent / 100; };
  return QColor(mix(b.red()), mix(b.green()), mix(b.blue()));
}

int digitsOf(LineNo n) {
  int d = 1;
  for (; n >= 10; n /= 10) ++d;
  return d;
}

}  // namespace

int TSyntaxMemo::lineNumberWidth() const noexcept {
  if (!engine_->hasAid(smaLineNumbers)) return 0;
  return (digitsOf(engine_->lineCount()) + 1) * charWidth_;
}

int TSyntaxMemo::gutterPixels() const noexcept {
  return (engine_->hasOption(smoShowGutter) ? engine_->gutterWidth : 0) + lineNumberWidth();
}

QColor TSyntaxMemo::currentLineColor() const {
  // The text's background mixed with a little black (or white on a dark background), so that
  // text in the default colours stays readable on it.
  if (engine_->currentLineColor) return toQColor(*engine_->currentLineColor);
  return shade(toQColor(engine_->defBackColor), 12);
}

int TSyntaxMemo::gutterLineAt(QPoint p) const {
  const MemoEngine& e = *engine_;
  const Pos row = std::clamp<Pos>(e.firstVisibleLine() + (p.y() < 0 ? 0 : p.y() / lineHeight_), 0, e.rowCount() - 1);
  return int(e.store().lineFromPos(e.rowStart(row))) + 1;
}

void TSyntaxMemo::paintCurrentLine(QPainter& g, const QRect& r) {
  const MemoEngine& e = *engine_;
  if (!showFocusLine_ && !e.hasAid(smaCurrentLine)) return;
  // Every row of the caret's line (more than one while wrapping).
  const LineNo line = e.store().lineFromPos(e.selection().caret);
  const Pos firstRow = e.rowOf(e.store().lineStart(line)) - e.firstVisibleLine();
  const Pos lastRow = e.rowOf(e.store().lineEnd(line)) - e.firstVisibleLine();
  const Pos rows = r.height() / lineHeight_ + 1;
  if (lastRow < 0 || firstRow >= rows) return;
  const int top = int(std::max<Pos>(0, firstRow)) * lineHeight_;
  const int bottom = int(std::min<Pos>(rows, lastRow + 1)) * lineHeight_;
  const int left = textLeft();
  g.fillRect(QRect(left, top, r.width() - left, bottom - top), currentLineColor());
}

void TSyntaxMemo::paintGutter(QPainter& g, const QRect& r) {
  const MemoEngine& e = *engine_;
  const int marks = e.hasOption(smoShowGutter) ? e.gutterWidth : 0;
  const int numbers = lineNumberWidth();
  if (marks + numbers <= 0) return;
  const QColor back = toQColor(e.gutterColor);
  g.fillRect(QRect(0, 0, marks + numbers, r.height()), back);
  const Pos first = e.firstVisibleLine();
  const Pos rows = std::min<Pos>(r.height() / lineHeight_ + 1, e.rowCount() - first);
  if (rows <= 0) return;
  const TextStore& s = e.store();
  const LineNo caretLine = s.lineFromPos(e.selection().caret);

  // The line numbers, on the first row of each line.
  if (numbers > 0) {
    QFont plain = font_;
    plain.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    QFont bold = plain;
    bold.setBold(true);
    const QColor dim = shade(back, 55);
    const QColor strong = toQColor(e.defTextColor);
    for (Pos k = 0; k < rows; ++k) {
      const Pos rs = e.rowStart(first + k);
      const LineNo line = s.lineFromPos(rs);
      if (rs != s.lineStart(line)) continue;  // a row continuing a wrapped line
      const bool current = line == caretLine;
      g.setFont(current ? bold : plain);
      g.setPen(current ? strong : dim);
      const QRect box(marks, int(k) * lineHeight_, numbers - charWidth_ / 2, lineHeight_);
      g.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(line + 1));
    }
  }
  if (marks <= 0) return;

  // Line marks from the right end of the mark area, one square cell each; an owner connected to
  // OnDrawMark draws them itself.
  const int cell = std::max(4, lineHeight_ - 4);
  const LineNo firstLine = s.lineFromPos(e.rowStart(first));
  const LineNo lastLine = s.lineFromPos(e.rowStart(first + rows - 1));
  const bool ownerDraws = isSignalConnected(QMetaMethod::fromSignal(&TSyntaxMemo::OnDrawMark));
  LineNo previous = -1;
  int slot = 0;
  for (const auto& [line, mark] : e.lineMarks().onLines(firstLine, lastLine)) {
    slot = line == previous ? slot + 1 : 0;
    previous = line;
    const Pos row = e.rowOf(s.lineStart(line)) - first;
    const QRect box(marks - 2 - (slot + 1) * (cell + 1), int(row) * lineHeight_ + (lineHeight_ - cell) / 2, cell, cell);
    if (ownerDraws) {
      g.save();
      Q_EMIT OnDrawMark(&g, box, *mark);
      g.restore();
      continue;
    }
    g.setRenderHint(QPainter::Antialiasing, true);
    g.setPen(shade(toQColor(mark->color), 35));
    g.setBrush(toQColor(mark->color));
    g.drawEllipse(box.adjusted(1, 1, -1, -1));
    g.setBrush(Qt::NoBrush);
    g.setRenderHint(QPainter::Antialiasing, false);
  }

  // The numbered bookmarks at the left: a box with the bookmark's digit.
  g.setFont(font_);
  const Pos from = e.rowStart(first);
  const Pos to = e.rowEnd(first + rows - 1) + 1;
  for (const auto& [index, pos] : e.bookmarks().between(from, to)) {
    const Pos row = e.rowOf(pos) - first;
    const QRect box(2, int(row) * lineHeight_ + 1, std::min(marks - 4, lineHeight_ - 2), lineHeight_ - 2);
    g.fillRect(box, QColor(0, 0, 128));
    g.setPen(Qt::white);
    g.drawText(box, Qt::AlignCenter, QString::number(index));
  }
}

}  // namespace velora::memo
