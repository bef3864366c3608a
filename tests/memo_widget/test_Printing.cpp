// Printing the control's text to PDF files, read back with pdftotext: each print option off and
// on, the title as a file name, printing the selection, and printing without a printer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <memory>

#include "memo/widget/MemoPrinter.h"
#include "memo/widget/SyntaxMemo.h"

using namespace velora::memo;

namespace {

constexpr SyntaxMemoOptions kAllPrint = smoPrintWrap | smoPrintLineNos | smoPrintFilename | smoPrintDate |
                                        smoPrintPageNos | smoTitleAsFilename;

struct Printing : ::testing::Test {
  TSyntaxMemo memo;
  QTemporaryDir dir;
  int files = 0;

  std::unique_ptr<QPrinter> PdfPrinter(QString* path) {
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    *path = dir.filePath(QStringLiteral("print%1.pdf").arg(++files));
    p->setOutputFileName(*path);
    return p;
  }
  static QString PdfText(const QString& pdf) {
    QProcess pt;
    pt.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!pt.waitForFinished(30000) || pt.exitCode() != 0) return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(pt.readAllStandardOutput());
  }
  // The document printed with exactly the given options, as text.
  QString Printed(SyntaxMemoOptions on, bool selectionOnly = false) {
    memo.engine().options = (memo.engine().options & ~kAllPrint) | on;
    QString path;
    auto printer = PdfPrinter(&path);
    MemoPrinter p(memo.engine(), QFont(QStringLiteral("Courier New"), 10));
    p.dateTime = QStringLiteral("09/12/2026 - 17:30");
    EXPECT_TRUE(p.print(*printer, selectionOnly));
    return PdfText(path);
  }
  static bool HasLine(const QString& text, const QString& pattern) {
    return text.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption));
  }
};

}  // namespace

TEST_F(Printing, EachOptionAddsItsPartOfThePage) {
  QByteArray text = "alpha\rbeta\r";
  for (int i = 1; i <= 300; ++i) text += "w" + QByteArray::number(1000 + i) + " ";  // a long last line
  memo.setText(text);
  memo.setTitle(QStringLiteral("Report Title"));
  const struct {
    SyntaxMemoOptions option;
    const char* present;  // a line pattern found with the option on, missing with it off
  } rows[] = {
      {smoPrintLineNos, R"(^\s*1:alpha)"},
      {smoPrintFilename, R"(^\s*Report Title)"},
      {smoPrintDate, R"(09/12/2026 - 17:30\s*$)"},
      {smoPrintPageNos, R"(^\s*- 1 -\s*$)"},
      {smoPrintWrap, R"(w1300)"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.present);
    const QString on = Printed(r.option);
    const QString off = Printed(0);
    EXPECT_TRUE(HasLine(on, QString::fromUtf8(r.present))) << qPrintable(on.left(600));
    EXPECT_FALSE(HasLine(off, QString::fromUtf8(r.present))) << qPrintable(off.left(600));
    EXPECT_TRUE(off.contains(QStringLiteral("beta")));
  }
  // Without wrapping the long line is cut at the page's edge: its start is there, its end not.
  const QString clipped = Printed(0);
  EXPECT_TRUE(clipped.contains(QStringLiteral("w1001 w1002")));
  EXPECT_FALSE(clipped.contains(QStringLiteral("w1300")));
  // Wrapped pieces continue the line without numbers of their own.
  const QString wrapped = Printed(smoPrintWrap | smoPrintLineNos);
  EXPECT_TRUE(HasLine(wrapped, R"(^\s*3:w1001)"));
  EXPECT_FALSE(HasLine(wrapped, R"(^\s*4:)"));
  EXPECT_TRUE(HasLine(wrapped, R"(^\s*w1\d\d\d )"));  // a continuation starts at the left edge
}

TEST_F(Printing, HeaderCarriesTitleAndDateOnOneLineAndFootersNumberThePages) {
  QByteArray text;
  for (int i = 1; i <= 150; ++i) text += "line " + QByteArray::number(i) + "\r";
  memo.setText(text);
  memo.setTitle(QStringLiteral("Site Page"));
  const QString out = Printed(smoPrintFilename | smoPrintDate | smoPrintPageNos | smoPrintLineNos);
  EXPECT_TRUE(HasLine(out, R"(^\s*Site Page\s+09/12/2026 - 17:30\s*$)")) << qPrintable(out.left(400));
  EXPECT_TRUE(HasLine(out, R"(^\s*- 1 -\s*$)"));
  EXPECT_TRUE(HasLine(out, R"(^\s*- 2 -\s*$)"));
  EXPECT_TRUE(HasLine(out, R"(^\s*150:line 150\s*$)"));
  // Every page has its header.
  EXPECT_GE(out.count(QStringLiteral("Site Page")), 2);
}

TEST_F(Printing, TitleAsFilenamePrintsTheFilesNameWithoutItsFolders) {
  memo.setText("body");
  const struct {
    const char* title;
    bool asFileName;
    const char* shown;
    const char* hidden;
  } rows[] = {
      {"/srv/site/pages/index.html", true, "index.html", "/srv/site"},
      {"/srv/site/pages/index.html", false, "/srv/site/pages/index.html", nullptr},
      {"C:\\site\\about.html", true, "about.html", "site\\"},
      {"Untitled", true, "Untitled", nullptr},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.title);
    memo.setTitle(QString::fromUtf8(r.title));
    const QString out = Printed(smoPrintFilename | (r.asFileName ? SyntaxMemoOptions(smoTitleAsFilename) : 0u));
    EXPECT_TRUE(out.contains(QString::fromUtf8(r.shown))) << qPrintable(out.left(300));
    if (r.hidden) {
      EXPECT_FALSE(out.contains(QString::fromUtf8(r.hidden)));
    }
  }
  // The exported page's title follows the same rule.
  memo.setTitle(QStringLiteral("/srv/site/pages/index.html"));
  memo.selectAll();
  memo.engine().options |= smoTitleAsFilename;
  EXPECT_NE(memo.engine().exportSelection(kExportHTML).find("<TITLE>index.html</TITLE>"), std::string::npos);
}

TEST_F(Printing, PrintSelectionPrintsOnlyTheSelectedText) {
  memo.setText("first line\rsecond line\rthird line\rfourth line");
  memo.setTitle(QStringLiteral("Selection"));
  QString path;
  auto printer = PdfPrinter(&path);
  memo.setPrinterSource([&] { return printer.get(); });
  memo.engine().options |= kAllPrint;
  QSignalSpy errors(&memo, &TSyntaxMemo::OnPrintError);
  // From the start of the second line to the start of the fourth: two whole lines.
  memo.setSelection(memo.engine().store().lineStart(1), memo.engine().store().lineStart(3));
  ASSERT_TRUE(memo.printSelection());
  EXPECT_EQ(errors.count(), 0);
  const QString out = PdfText(path);
  EXPECT_TRUE(HasLine(out, R"(^\s*1:second line\s*$)")) << qPrintable(out);
  EXPECT_TRUE(HasLine(out, R"(^\s*2:third line\s*$)"));
  EXPECT_FALSE(out.contains(QStringLiteral("first")));
  EXPECT_FALSE(out.contains(QStringLiteral("fourth")));
  // The break at the end opens no line (the header's clock may show "3:", so lines are matched).
  EXPECT_FALSE(HasLine(out, R"(^\s*3:)")) << qPrintable(out);
  // Part of a line: only that part.
  memo.setSelection(6, 8);
  ASSERT_TRUE(memo.printSelection());
  const QString part = PdfText(path);
  EXPECT_TRUE(HasLine(part, R"(^\s*1:li\s*$)")) << qPrintable(part);
  // Nothing selected: nothing is printed and nothing is reported.
  QFile::remove(path);
  memo.setSelStart(3);
  EXPECT_FALSE(memo.printSelection());
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_EQ(errors.count(), 0);
}

TEST_F(Printing, TheOwnerIsToldWhenThereIsNoPrinter) {
  memo.setText("some text");
  memo.selectAll();
  QSignalSpy errors(&memo, &TSyntaxMemo::OnPrintError);
  {
    // No printer of the system and none from the owner.
    qputenv("VELORA_NO_PRINTER", "1");
    EXPECT_FALSE(memo.printSelection());
    qunsetenv("VELORA_NO_PRINTER");
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).toString(), QStringLiteral("There is no printer to print on."));
  }
  {
    // The owner's printer writes PDF but has no file to write to.
    QPrinter unnamed(QPrinter::HighResolution);
    unnamed.setOutputFormat(QPrinter::PdfFormat);
    memo.setPrinterSource([&] { return &unnamed; });
    EXPECT_FALSE(memo.printSelection());
    EXPECT_EQ(errors.count(), 2);
  }
  {
    // The printer cannot be started (its file cannot be created).
    QPrinter broken(QPrinter::HighResolution);
    broken.setOutputFormat(QPrinter::PdfFormat);
    broken.setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/out.pdf")));
    memo.setPrinterSource([&] { return &broken; });
    EXPECT_FALSE(memo.printSelection());
    ASSERT_EQ(errors.count(), 3);
    EXPECT_EQ(errors.at(2).at(0).toString(), QStringLiteral("The printer could not be started."));
  }
}

TEST(PrintMeasure, FittingUnitsTakesWholeCharactersAndAlwaysOne) {
  const QFont f(QStringLiteral("Courier New"), 10);
  const QFontMetricsF fm(f);
  const qreal w = fm.horizontalAdvance(QStringLiteral("abc")) + 0.01;
  EXPECT_EQ(MemoPrinter::fittingUnits(fm, u"abcdef", w), 3);
  EXPECT_EQ(MemoPrinter::fittingUnits(fm, u"abcdef", w - 1), 2);
  EXPECT_EQ(MemoPrinter::fittingUnits(fm, u"ab", 10 * w), 2);
  EXPECT_EQ(MemoPrinter::fittingUnits(fm, u"", w), 0);
  EXPECT_EQ(MemoPrinter::fittingUnits(fm, u"abc", 0), 1);  // too narrow: one character anyway
  // A character outside the basic plane is two units and is never split.
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80x");
  EXPECT_EQ(MemoPrinter::fittingUnits(fm, emoji, 1), 2);
  // A very long text is measured only as far as it fits.
  const QString huge(2'000'000, QLatin1Char('x'));
  EXPECT_EQ(MemoPrinter::fittingUnits(fm, huge, w), 3);
}
