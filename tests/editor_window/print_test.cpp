// Printing the selection of an editor window: on the printer chosen in Printer Setup, with the
// file's name as the header's title, and a message when there is no printer.
#include "EditorFixture.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>

using namespace vlr;

namespace vlrtest {
namespace {

class EditorPrintTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        e = main->editorUnit().OpenEditorFromTemplate(path("none.htf"));
        prompter->Clear();
    }
    TFrmEditor* e = nullptr;
};

TEST_F(EditorPrintTest, SelectionIsPrintedOnTheChosenPrinterUnderTheFilesName) {
    QPrinter& printer = main->editorUnit().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = QString::fromStdString(path("selection.pdf"));
    printer.setOutputFileName(pdf);
    e->FileName = path("site/page.html");
    e->memo().setText("first line\rsecond line\rthird line");
    e->memo().setSelection(11, 22);
    ASSERT_TRUE(e->memo().printSelection());
    QProcess pt;
    pt.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(pt.waitForFinished(30000));
    const QString out = QString::fromUtf8(pt.readAllStandardOutput());
    EXPECT_TRUE(out.contains("second line")) << out.toStdString();
    EXPECT_FALSE(out.contains("first line"));
    EXPECT_FALSE(out.contains("third line"));
    EXPECT_TRUE(out.contains("page.html"));  // the editor window prints the title as a file name
    EXPECT_FALSE(out.contains("site/"));
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(EditorPrintTest, WithoutAPrinterTheUserIsTold) {
    ::setenv("VELORA_NO_PRINTER", "1", 1);
    e->memo().setText("some text");
    e->memo().selectAll();
    EXPECT_FALSE(e->memo().printSelection());
    ::unsetenv("VELORA_NO_PRINTER");
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "There is no printer to print on.");
    EXPECT_EQ(prompter->messages()[0].kind, MessageKind::Error);
}

}  // namespace
}  // namespace vlrtest
