// TSyntaxMemo's geometry and painting. Everything is placed in character cells of display
// columns (MemoEngine::displayColumn): x = text left + (column - first visible column) * cell
// width. A line is read and drawn only over its visible columns, so the cost of painting and of
// hit-testing does not grow with the length of the line (a minified page of one long line).
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "memo/engine/Utf8.h"
#include "memo/widget/FoldMargin.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/TagMatch.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

namespace {

QColor toQColor(Color c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// What one character looks like on screen.
QString glyphOf(std::string_view bytes, std::size_t i, int n) {
  const auto c = static_cast<unsigned char>(bytes[i]);
  if (c < 0x20 || c == 0x7F) return QString(QChar(char16_t(0x2400 + (c == 0x7F ? 0x21 : c))));  // control pictures
  const char32_t cp = utf8CharAt(bytes, i, n);
  return QString::fromUcs4(&cp, 1);
}

}  // namespace

// ---- geometry

// While wrapping, columns count from the start of the position's row.
Pos TSyntaxMemo::rowBaseColumn(Pos row) const {
  return engine_->wrapIndex() ? engine_->displayColumn(engine_->rowStart(row)) : 0;
}

int TSyntaxMemo::xOfPos(LineNo, Pos p) const {
  const MemoEngine& e = *engine_;
  return textLeft() + int(e.displayColumn(p) - rowBaseColumn(e.rowOf(p)) - e.firstVisibleColumn()) * charWidth_;
}

Pos TSyntaxMemo::posAtX(LineNo row, int x) const {
  const MemoEngine& e = *engine_;
  const Pos rs = e.rowStart(row);
  const Pos re = e.rowEnd(row);
  const double col = double(x - textLeft()) / double(charWidth_) + double(e.firstVisibleColumn() + rowBaseColumn(row));
  const LineNo line = e.store().lineFromPos(rs);
  if (col <= double(rowBaseColumn(row))) return rs;
  const Pos p = e.posAtDisplayColumn(line, Pos(std::floor(col)));
  // Past the end of a row that the next one continues, the caret stays on this row.
  if (p >= re) return e.wrapIndex() && e.wrapIndex()->continues(row) ? e.prevCharPos(re) : re;
  // The nearer boundary of the character under x.
  const Pos next = e.nextCharPos(p);
  const Pos c0 = e.displayColumn(p);
  const Pos c1 = e.displayColumn(next);
  return (col - double(c0)) * 2 >= double(c1 - c0) ? next : p;
}

Pos TSyntaxMemo::rowAt(QPoint p) const {
  return std::clamp<Pos>(engine_->firstVisibleLine() + (p.y() < 0 ? -1 : p.y() / lineHeight_), 0,
                         engine_->rowCount() - 1);
}

Pos TSyntaxMemo::positionAt(QPoint p) const { return posAtX(rowAt(p), p.x()); }

QPoint TSyntaxMemo::pointAt(Pos p) const {
  const Pos row = engine_->rowOf(p);
  return QPoint(xOfPos(row, p), int(row - engine_->firstVisibleLine()) * lineHeight_);
}

// ---- hot spots

bool TSyntaxMemo::drawsTokenStyles() const {
  return engine_->hasOption(smoSyntaxHighlight) && engine_->currentParser() != nullptr;
}

void TSyntaxMemo::updateHover(QPoint p) {
  const MemoEngine& e = *engine_;
  const Pos pos = positionAt(p);
  const LineNo line = e.store().lineFromPos(pos);
  bool pastEnd = pos >= e.store().lineEnd(line) && p.x() > xOfPos(line, pos);
  // Right of a row that the next one continues: past the end of its last character.
  const Pos row = rowAt(p);
  if (!pastEnd && e.wrapIndex() && e.wrapIndex()->continues(row)) {
    const Pos end = e.rowEnd(row);
    const Pos last = e.prevCharPos(end);
    pastEnd = pos >= last && p.x() > xOfPos(row, last) + int(e.displayColumn(end) - e.displayColumn(last)) * charWidth_;
  }
  // Plain drawing (smoSyntaxHighlight off) shows no styles, so no hot spots either.
  const bool hot = !pastEnd && p.x() >= textLeft() && drawsTokenStyles() && engine_->styleAt(pos).hotspot;
  setHovering(hot);
  if (hot) Q_EMIT OnHyperlinkHover();
}

void TSyntaxMemo::setHovering(bool hot) {
  if (hot == hovering_) return;
  hovering_ = hot;
  // The cursor changes only when the mouse enters or leaves a hot spot, and only from or to
  // the control's own text cursor: a cursor that the owner has chosen (in its move handler,
  // which runs first, or in its hover handler) is left alone.
  QWidget* view = viewport();
  if (hot) {
    if (view->cursor().shape() == Qt::IBeamCursor) view->setCursor(hyperCursor_);
  } else {
    if (view->cursor().shape() == hyperCursor_) view->setCursor(Qt::IBeamCursor);
    Q_EMIT OnHyperlinkLeave();
  }
}

// ---- painting

void TSyntaxMemo::paintLine(QPainter& g, LineNo row, int y, Pos firstCol, Pos lastCol) {
  const MemoEngine& e = *engine_;
  const TextStore& s = e.store();
  const int left = textLeft();
  // A visual row: a whole line, or while wrapping the part of a line between two breaks. Its
  // columns are shown from its own start.
  const Pos ls = e.rowStart(row);
  const Pos le = e.rowEnd(row);
  const LineNo line = s.lineFromPos(ls);
  const bool continued = e.wrapIndex() && e.wrapIndex()->continues(row);
  const Pos base = rowBaseColumn(row);
  firstCol += base;
  lastCol += base;
  const Selection sel = e.selection();
  const bool showSel = !sel.empty() && (hasFocus() || !e.hideSelection);
  TokenScanner* parser = drawsTokenStyles() ? e.currentParser() : nullptr;
  // Only the visible part: from the character covering the first visible column; every
  // character takes at least one column and four bytes at most.
  const Pos from = std::max(ls, e.posAtDisplayColumn(line, firstCol));
  Pos col = e.displayColumn(from);
  const Pos to = std::min(le, from + (lastCol - col + 2) * 4);
  const std::string bytes = s.text(from, to);
  const std::vector<std::uint8_t> toks = parser ? e.tokens(from, to) : std::vector<std::uint8_t>();
  const TabStops tabs = e.tabStops();
  const QColor defBack = toQColor(e.defBackColor);

  // A run of cells in one style, drawn with one call while its characters are one cell each.
  QString run;
  Pos runCol = 0;
  StyleEffect runStyle;
  bool runSelected = false;
  auto colX = [&](Pos c) { return left + int(c - firstCol) * charWidth_; };
  auto paintCells = [&](const QString& text, Pos c, int cells, const StyleEffect& st, bool selected) {
    QColor fg = st.defaultForeground ? toQColor(e.defTextColor) : toQColor(st.foreground);
    QColor bg = st.defaultBackground ? defBack : toQColor(st.background);
    if (selected) {
      fg = toQColor(e.selTextColor);
      bg = toQColor(e.selTextBack);
    }
    const int x = colX(c);
    if (bg != defBack) g.fillRect(QRect(x, y, cells * charWidth_, lineHeight_), bg);
    QFont f = font_;
    f.setBold(st.bold || (e.defFontStyle & fsBold));
    f.setItalic(st.italic || (e.defFontStyle & fsItalic));
    f.setUnderline(st.underline || (e.defFontStyle & fsUnderline));
    if (text.trimmed().isEmpty() && !f.underline()) return;  // blanks show nothing but an underline
    g.setFont(f);
    g.setPen(fg);
    g.drawText(x, y + ascent_, text);
  };
  auto flush = [&] {
    if (!run.isEmpty()) paintCells(run, runCol, int(run.size()), runStyle, runSelected);
    run.clear();
  };
  std::size_t i = 0;
  while (i < bytes.size() && col <= lastCol) {
    const Pos pos = from + Pos(i);
    const auto c = static_cast<unsigned char>(bytes[i]);
    const int n = c < 0x80 ? 1 : utf8CharLength(bytes, i);
    const bool selected = showSel && pos >= sel.start() && pos < sel.end();
    const StyleEffect st = parser ? parser->styleOf(toks[i]) : StyleEffect{};
    const bool sameRun = !run.isEmpty() && selected == runSelected && st.foreground == runStyle.foreground &&
                         st.background == runStyle.background && st.bold == runStyle.bold &&
                         st.italic == runStyle.italic && st.underline == runStyle.underline &&
                         st.defaultForeground == runStyle.defaultForeground &&
                         st.defaultBackground == runStyle.defaultBackground;
    if (!sameRun) flush();
    if (c == '\t' || (c >= 0x20 && c < 0x7F)) {
      // One-cell characters (a tab as blank cells) join the run.
      if (run.isEmpty()) {
        runCol = col;
        runStyle = st;
        runSelected = selected;
      }
      const Pos next = c == '\t' ? tabs.next(col) : col + 1;
      if (c == '\t') run.append(QString(int(next - col), QLatin1Char(' ')));
      else run.append(QLatin1Char(char(c)));
      col = next;
    } else {
      // Other characters stand alone in their cells, so that columns stay exact whatever
      // width the font gives them.
      flush();
      const int cells = c < 0x80 ? 1 : charCells(utf8CharAt(bytes, i, n));
      paintCells(glyphOf(bytes, i, n), col, cells, st, selected);
      col += cells;
    }
    i += std::size_t(n);
  }
  flush();
  // A selected break is shown as one blank cell; a row continued on the next one may end in the
  // wrap glyph.
  if (!continued && showSel && le >= sel.start() && le < sel.end() && line + 1 < s.lineCount()) {
    const Pos endCol = e.displayColumn(le);
    if (endCol <= lastCol) g.fillRect(QRect(colX(endCol), y, charWidth_, lineHeight_), toQColor(e.selTextBack));
  }
  if (continued && e.hasOption(smoShowWrapGlyph)) {
    g.setFont(font_);
    g.setPen(QColor(128, 128, 128));
    g.drawText(colX(col), y + ascent_, QString(QChar(char16_t(0x21B5))));  // "↵"
  }
  // The horizontal scroll range follows the longest line seen (long lines by their bytes, so
  // that measuring them never walks the whole line).
  const Pos width = le - ls < 65536 ? e.displayColumn(le) - base : le - ls;
  maxWidthSeen_ = std::max(maxWidthSeen_, int(std::min<Pos>(width, 1 << 24)) * charWidth_);
}

void TSyntaxMemo::paintEvent(QPaintEvent*) {
  QPainter g(viewport());
  const MemoEngine& e = *engine_;
  const QRect r = viewport()->rect();
  g.fillRect(r, toQColor(e.defBackColor));
  const int left = textLeft();
  const Pos firstCol = e.firstVisibleColumn();
  const Pos lastCol = firstCol + std::max(0, r.width() - left) / charWidth_ + 1;
  const int scrollX = int(firstCol) * charWidth_;
  const LineNo first = e.firstVisibleLine();
  const LineNo count = r.height() / lineHeight_ + 1;
  const QPoint c = pointAt(e.selection().caret);

  g.setClipRect(QRect(left, 0, r.width() - left, r.height()));
  // Behind the text: the caret's line (GutterPaint.cpp), and the right margin line in its colour
  // and width.
  paintCurrentLine(g, r);
  if (e.hasOption(smoShowRMargin) && e.rightMargin > 0 && e.marginWidth > 0) {
    const int mx = left + e.rightMargin * charWidth_ - scrollX;
    if (mx >= left) g.fillRect(QRect(mx, 0, e.marginWidth, r.height()), toQColor(e.marginColor));
  }
  tagMatch_->paint(g);
  for (LineNo k = 0; k < count && first + k < e.rowCount(); ++k) paintLine(g, first + k, int(k) * lineHeight_, firstCol, lastCol);
  g.setClipping(false);

  // The wrap column.
  if (e.wrapIndex() && e.hasOption(smoShowWrapColumn)) {
    const int wx = left + e.wrapIndex()->width() * charWidth_ - scrollX;
    g.setPen(QPen(QColor(160, 160, 224), 1, Qt::DotLine));
    g.drawLine(wx, 0, wx, r.height());
  }

  paintGutter(g, r);
  foldMargin_->paint(g);
  // The text an input method is composing, at the caret, underlined.
  if (!preedit_.isEmpty() && c.y() >= 0 && c.y() < r.height()) {
    const QFontMetrics fm(font_);
    const int w = fm.horizontalAdvance(preedit_);
    g.fillRect(QRect(c.x(), c.y(), w, lineHeight_), toQColor(e.defBackColor));
    QFont f = font_;
    f.setUnderline(true);
    g.setFont(f);
    g.setPen(toQColor(e.defTextColor));
    g.drawText(c.x(), c.y() + ascent_, preedit_);
  }
  // Caret: a line, or a block in overwrite mode with smoBlockOverwriteCursor.
  if (hasFocus()) {
    if (c.y() >= 0 && c.y() < r.height() && c.x() >= left) {
      if (overwrite_ && e.hasOption(smoBlockOverwriteCursor)) {
        // The block covers the character that typing replaces (two cells for a wide one, one
        // at the end of a line), its colours inverted so that it stays readable.
        const Pos caret = e.selection().caret;
        const Pos next = e.nextCharPos(caret);
        const bool sameRow = next > caret && next <= e.rowEnd(e.rowOf(caret)) && e.store().charAt(caret) != '\r';
        const int w = sameRow ? std::max(charWidth_, pointAt(next).x() - c.x()) : charWidth_;
        g.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        g.fillRect(QRect(c.x(), c.y(), w, lineHeight_), Qt::white);
        g.setCompositionMode(QPainter::CompositionMode_SourceOver);
      } else {
        g.fillRect(QRect(c.x(), c.y(), 2, lineHeight_), toQColor(e.defTextColor));
      }
    }
  }
}

}  // namespace velora::memo
