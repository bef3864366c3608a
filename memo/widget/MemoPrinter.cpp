// Printing of the editor control: pages with header, footer, line numbers and wrapping.
#include "memo/widget/MemoPrinter.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "memo/engine/TitleText.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

int MemoPrinter::fittingUnits(const QFontMetricsF& fm, QStringView text, qreal width) {
  qreal used = 0;
  qsizetype i = 0;
  while (i < text.size()) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    used += n == 1 ? fm.horizontalAdvance(text[i]) : fm.horizontalAdvance(text.mid(i, n).toString());
    if (used > width && i > 0) break;
    i += n;
    if (used > width) break;  // a first character wider than the line stands alone
  }
  return int(i);
}

bool MemoPrinter::print(QPrinter& printer, bool selectionOnly) {
  QPainter g;
  if (!g.begin(&printer)) return false;
  const TextStore& s = e_.store();
  const bool withTitle = e_.hasOption(smoPrintFilename);
  const bool withDate = e_.hasOption(smoPrintDate);
  const bool header = withTitle || withDate;
  const bool footer = e_.hasOption(smoPrintPageNos);
  const bool numbers = e_.hasOption(smoPrintLineNos);
  const bool wrap = e_.hasOption(smoPrintWrap);
  QFont f = font_;
  f.setPointSize(e_.fontSize > 0 ? e_.fontSize : 10);
  f.setLetterSpacing(QFont::PercentageSpacing, 100);  // the screen's cell spacing is in screen pixels
  g.setFont(f);
  g.setPen(Qt::black);
  const QFontMetrics fm(f, &printer);
  const QFontMetricsF fmf(f, &printer);
  const int lh = fm.height();
  const QRect page = g.viewport();
  const int rule = std::max(1, lh / 12);
  const int top = header ? lh + lh / 2 : 0;
  const int bottom = footer ? page.height() - lh - lh / 2 : page.height();
  const int textX = numbers ? fm.horizontalAdvance(QStringLiteral("%1:").arg(0, 6)) : 0;
  const int textW = std::max(1, page.width() - textX);
  const QString when = !dateTime.isEmpty() ? dateTime
                                           : QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) +
                                                 QStringLiteral(" - ") +
                                                 QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
  const QString title = decodeBytes(shownTitle(e_.title, e_.hasOption(smoTitleAsFilename)));

  Pos from = 0, to = s.length();
  if (selectionOnly) {
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
      const QRect line(0, 0, page.width(), lh);
      if (withTitle) g.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, title);
      if (withDate) g.drawText(line, Qt::AlignRight | Qt::AlignVCenter, when);
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
  const LineNo firstLine = s.lineFromPos(from);
  LineNo lastLine = s.lineFromPos(to);
  // A selection that ends just after a line break does not reach into the next line.
  if (lastLine > firstLine && to == s.lineStart(lastLine)) --lastLine;
  int numbered = 0;
  for (LineNo line = firstLine; line <= lastLine; ++line) {
    const Pos ls = std::max(from, s.lineStart(line));
    const Pos le = std::min(to, s.lineEnd(line));
    const DisplayLine d = decodeLine(s.text(ls, le), [this](int c) { return e_.nextTabStop(c); });
    QStringView rest(d.text);
    bool firstPiece = true;
    do {
      // The characters that fit; when wrapping, the break goes after the last blank in them.
      int n = fittingUnits(fmf, rest, textW);
      if (wrap && n < rest.size()) {
        const qsizetype space = rest.left(n).lastIndexOf(QLatin1Char(' '));
        if (space > 0) n = int(space) + 1;
      }
      if (y + lh > bottom && y > top) startPage();
      if (numbers && firstPiece) g.drawText(0, y + fm.ascent(), QString::asprintf("%6d:", ++numbered));
      g.drawText(textX, y + fm.ascent(), rest.left(n).toString());
      y += lh;
      rest = wrap ? rest.mid(n) : QStringView();
      firstPiece = false;
    } while (!rest.isEmpty());
  }
  return g.end();
}

}  // namespace velora::memo
