// Printing an editor window: the selection on the printer chosen in Printer Setup, with the
// file's name as the header's title; the document into a PDF file when there is no printer
// queue; and a message when nothing can print.
#include "EditorFixture.h"
#include "../shell/UserInput.h"

#include "app/commands/MainCommands.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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

TEST_F(EditorPrintTest, WithoutAPrinterQueueTheDocumentIsPrintedIntoAPdfFile) {
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty()) << "this test wants a machine without printers";
    e->FileName = path("walks.html");
    e->memo().setText("Saturday walks\rBring good shoes");
    // Print and Printer Setup can be used: the PDF writer is always there.
    EXPECT_TRUE(Enabled("Print1"));
    EXPECT_TRUE(Enabled("PrintDocument1"));
    EXPECT_TRUE(Enabled("PrinterSetup1"));

    // The dialog shows only when prompts are not logged.
    const QByteArray prompts = qgetenv("VELORA_PROMPTS");
    qunsetenv("VELORA_PROMPTS");
    QStringList destinations;
    QString file;
    bool printEnabled = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answer.stop();
        if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers")))
            for (int i = 0; i < printers->count(); ++i)
                destinations << printers->itemText(i);
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
            file = name->text();
        QPushButton* print = nullptr;
        if (auto* box = dialog->findChild<QDialogButtonBox*>())
            print = box->button(QDialogButtonBox::Ok);
        printEnabled = print && print->isEnabled();
        if (print)
            QTest::mouseClick(print, Qt::LeftButton);
        else
            dialog->reject();
    });
    answer.start(20);
    // File > Print, picked with the mouse.
    main->activateWindow();
    QMenuBar* bar = main->menuBar();
    QMenu* fileMenu = main->Commands().menu(QStringLiteral("File1"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(fileMenu->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fileMenu));
    QTest::mouseClick(fileMenu, Qt::LeftButton, {}, fileMenu->actionGeometry(main->action("Print1")).center());
    vlr::ProcessMessages();
    answer.stop();
    if (!prompts.isNull())
        qputenv("VELORA_PROMPTS", prompts);

    EXPECT_TRUE(destinations.contains(QStringLiteral("Print to File (PDF)"))) << destinations.join('|').toStdString();
    EXPECT_TRUE(printEnabled);
    // Beside the document, named after it.
    EXPECT_EQ(file.toStdString(), path("walks.pdf"));
    QFile pdf(QString::fromStdString(path("walks.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.read(5), QByteArray("%PDF-"));
    pdf.close();
    QProcess pt;
    pt.start("pdftotext", {"-layout", pdf.fileName(), "-"});
    ASSERT_TRUE(pt.waitForFinished(30000));
    const QString out = QString::fromUtf8(pt.readAllStandardOutput());
    EXPECT_TRUE(out.contains("Saturday walks")) << out.toStdString();
    EXPECT_TRUE(out.contains("Bring good shoes")) << out.toStdString();
}

TEST_F(EditorPrintTest, PrinterSetupChoosesThePdfWriterWhenThereIsNoPrinterQueue) {
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty()) << "this test wants a machine without printers";
    ASSERT_TRUE(Enabled("PrinterSetup1"));
    const QByteArray prompts = qgetenv("VELORA_PROMPTS");
    qunsetenv("VELORA_PROMPTS");
    QString title;
    QStringList destinations;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answer.stop();
        title = dialog->windowTitle();
        auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
        if (printers) {
            for (int i = 0; i < printers->count(); ++i)
                destinations << printers->itemText(i);
            printers->setCurrentIndex(printers->findText(QStringLiteral("Print to File (PDF)")));
        }
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"))) {
            name->selectAll();
            QTest::keyClicks(name, QString::fromStdString(path("chosen.pdf")));
        }
        auto* box = dialog->findChild<QDialogButtonBox*>();
        if (QPushButton* ok = box ? box->button(QDialogButtonBox::Ok) : nullptr)
            QTest::mouseClick(ok, Qt::LeftButton);
        else
            dialog->reject();
    });
    answer.start(20);
    ChooseFromMenuBar(main.get(), Qt::Key_F, {Qt::Key_E});  // File, Printer Setup
    vlr::ProcessMessages();
    answer.stop();
    if (!prompts.isNull())
        qputenv("VELORA_PROMPTS", prompts);
    EXPECT_EQ(title, QStringLiteral("Printer Setup"));
    EXPECT_TRUE(destinations.contains(QStringLiteral("Print to File (PDF)"))) << destinations.join('|').toStdString();
    // Printing starts from what was chosen.
    const QPrinter& printer = main->editorUnit().Printer();
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName().toStdString(), path("chosen.pdf"));
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
