// Printing of the editor control: pages with header, footer, line numbers and wrapping.
#include "memo/widget/MemoPrinter.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrinter>

#include "memo/widget/TextDecoding.h"

namespace velora::memo {

void MemoPrinter::print(QPrinter& printer, bool selectionOnly) {
  QPainter g;
  if (!g.begin(&printer)) return;
  const TextStore& s = e_.store();
  const bool header = e_.hasOption(smoPrintFilename) || e_.hasOption(smoPrintDate);
  const bool footer = e_.hasOption(smoPrintPageNos);
  const bool numbers = e_.hasOption(smoPrintLineNos);
  const bool wrap = e_.hasOption(smoPrintWrap);
  QFont f = font_;
  f.setPointSize(e_.fontSize > 0 ? e_.fontSize : 10);
  g.setFont(f);
  g.setPen(Qt::black);
  const QFontMetrics fm(f, &printer);
  const int lh = fm.height();
  const QRect page = g.viewport();
  const int rule = std::max(1, lh / 12);
  const int top = header ? lh + lh / 2 : 0;
  const int bottom = footer ? page.height() - lh - lh / 2 : page.height();
  const QString numberSample = QStringLiteral("%1:").arg(0, 6);
  const int textX = numbers ? fm.horizontalAdvance(numberSample) + fm.horizontalAdvance(QLatin1Char(' ')) : 0;
  const int textW = page.width() - textX;
  const QString when = !dateTime.isEmpty() ? dateTime
                                           : QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) +
                                                 QStringLiteral(" - ") +
                                                 QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
  const QString title = decodeBytes(e_.title);

  Pos from = 0, to = s.length();
  if (selectionOnly && !e_.selection().empty()) {
    from = e_.selStart();
    to = e_.selection().end();
  }
  int pageNo = 0;
  int y = 0;
  auto startPage = [&] {
    if (pageNo > 0) printer.newPage();
    ++pageNo;
    g.setPen(Qt::black);
    if (header) {
      if (e_.hasOption(smoPrintFilename)) g.drawText(QRect(0, 0, page.width(), lh), Qt::AlignLeft | Qt::AlignVCenter, title);
      if (e_.hasOption(smoPrintDate)) g.drawText(QRect(0, 0, page.width(), lh), Qt::AlignRight | Qt::AlignVCenter, when);
      g.fillRect(QRect(0, lh + lh / 4, page.width(), rule), Qt::black);
    }
    if (footer) {
      g.fillRect(QRect(0, bottom + lh / 4, page.width(), rule), Qt::black);
      g.drawText(QRect(0, page.height() - lh, page.width(), lh), Qt::AlignHCenter | Qt::AlignVCenter,
                 QString::asprintf("- %d -", pageNo));
    }
    y = top;
  };
  startPage();
  const LineNo firstLine = s.lineFromPos(from), lastLine = s.lineFromPos(to);
  int numbered = 0;
  for (LineNo line = firstLine; line <= lastLine; ++line) {
    const Pos ls = std::max(from, s.lineStart(line));
    const Pos le = std::min(to, s.lineEnd(line));
    const DisplayLine d = decodeLine(s.text(ls, le), [this](int c) { return e_.nextTabStop(c); });
    QString rest = d.text;
    bool firstPiece = true;
    do {
      // How much of the rest fits on the line.
      int n = int(rest.size());
      if (wrap && fm.horizontalAdvance(rest) > textW) {
        int lo = 1, hi = int(rest.size());
        while (lo < hi) {
          const int mid = (lo + hi + 1) / 2;
          if (fm.horizontalAdvance(rest.left(mid)) <= textW) lo = mid;
          else hi = mid - 1;
        }
        n = lo;
        const int space = int(rest.left(n).lastIndexOf(QLatin1Char(' ')));
        if (space > 0) n = space + 1;  // wrap at a blank when there is one
      }
      if (y + lh > bottom) startPage();
      if (numbers && firstPiece) {
        ++numbered;  // a continued piece carries no number
        g.drawText(0, y + fm.ascent(), QString::asprintf("%6d:", numbered));
      }
      g.save();
      g.setClipRect(QRect(textX, y, textW, lh));
      g.drawText(textX, y + fm.ascent(), rest.left(n));
      g.restore();
      y += lh;
      rest = wrap ? rest.mid(n) : QString();
      firstPiece = false;
    } while (!rest.isEmpty());
  }
  g.end();
}

}  // namespace velora::memo
