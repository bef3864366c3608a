// Find in Files through the main window: the folder search, expressions,
// opening a match, and replacing in open documents and on disk.
#include "EditorFixture.h"

#include "editor/findfiles/FindInFilesDialog.h"
#include "editor/findfiles/FindInFilesUnit.h"
#include "editor/unit/EditorUnit.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>

#include <filesystem>

namespace vlrtest {
namespace {

namespace fs = std::filesystem;

class FindInFilesTest : public EditorTest {
protected:
    vlr::TFindInFilesDialog* OpenDialog() {
        main->action("FindInFiles1")->trigger();
        auto* d = main->findChild<vlr::TFindInFilesDialog*>("FindInFilesDialog");
        EXPECT_NE(d, nullptr);
        return d;
    }
    void Search(vlr::TFindInFilesDialog* d, const QString& text, bool regex = false, bool matchCase = false) {
        vlr::FindInFilesRequest r = d->request();
        r.text = text;
        r.regularExpression = regex;
        r.matchCase = matchCase;
        r.projectFiles = false;
        r.folder = QString::fromStdString(work.string());
        r.mask = "*.hts;*.html";
        d->setRequest(r);
        d->findButton()->click();
    }
};

TEST_F(FindInFilesTest, FindsInAFoldersFilesWithPlainTextAndExpressions) {
    fs::create_directories(work / "sub");
    WriteFile(path("a.hts"), "<li class=\"nav-item\">one</li>\n<li class=\"nav-item\">two</li>\n");
    WriteFile(path("b.hts"), "<p>nothing here</p>\n");
    WriteFile(path("sub/c.html"), "<p>NAV-ITEM</p>\n");
    WriteFile(path("notes.txt"), "nav-item\n");
    vlr::TFindInFilesDialog* d = OpenDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(main->action("FindInFiles1")->isEnabled());  // with no editor window open
    Search(d, "nav-item");
    ASSERT_EQ(d->resultCount(), 3);
    EXPECT_EQ(d->resultAt(0).file.toStdString(), path("a.hts"));
    EXPECT_EQ(d->resultAt(1).line, 2);
    EXPECT_EQ(d->resultAt(2).file.toStdString(), path("sub/c.html"));
    EXPECT_EQ(d->summary(), "3 matches in 2 files");
    Search(d, "nav-it.m", true, true);
    EXPECT_EQ(d->resultCount(), 2);
    Search(d, "nav-(item", true);
    EXPECT_EQ(d->resultCount(), 2);  // a bad expression leaves the list and says why
    EXPECT_FALSE(d->summary().contains("matches")) << d->summary().toStdString();
}

TEST_F(FindInFilesTest, AnExpressionOutOfStepsNamesTheFileAndLine) {
    WriteFile(path("a.html"), "<p>Größe</p>\n<p>мир</p>\n" + std::string(60, 'a') + "\n");
    WriteFile(path("b.html"), "<p>c</p>\n");
    vlr::TFindInFilesDialog* d = OpenDialog();
    ASSERT_NE(d, nullptr);
    Search(d, "(a|aa)*c", true);
    EXPECT_EQ(d->resultCount(), 1);
    EXPECT_EQ(d->summary(), "1 match in 1 file; a.html: The expression needs too many steps; the search "
                            "stopped at line 3.");
}

TEST_F(FindInFilesTest, AMatchOpensSelectedInItsEditorWindow) {
    WriteFile(path("a.hts"), "<p>first</p>\n<p>second target</p>\n");
    vlr::TFindInFilesDialog* d = OpenDialog();
    Search(d, "target");
    ASSERT_EQ(d->resultCount(), 1);
    Q_EMIT d->openRequested(d->resultAt(0));
    vlr::TFrmEditor* e = vlr::FrmEditor;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->FileName, path("a.hts"));
    EXPECT_EQ(e->memo().selText().toStdString(), "target");
}

TEST_F(FindInFilesTest, ReplaceAllChangesOpenDocumentsUndoablyAndOtherFilesOnDisk) {
    WriteFile(path("open.hts"), "<b>old</b> old\n");
    WriteFile(path("closed.hts"), "old\r\nold\r\n");
    vlr::TFrmEditor* e = EditorFor(path("open.hts"));
    ASSERT_NE(e, nullptr);
    vlr::TFindInFilesDialog* d = OpenDialog();
    vlr::FindInFilesRequest r = d->request();
    r.replacement = "new";
    d->setRequest(r);
    prompter->QueueAnswer(vlr::ModalResult::Yes);
    Search(d, "old");
    d->replaceButton()->click();
    EXPECT_EQ(Text(e), "<b>new</b> new\r");
    EXPECT_TRUE(e->memo().modified());
    EXPECT_EQ(ReadFile(path("open.hts")), "<b>old</b> old\n");  // unsaved until the user saves
    EXPECT_EQ(ReadFile(path("closed.hts")), "new\r\nnew\r\n");  // its own line breaks kept
    e->memo().undo();
    EXPECT_EQ(Text(e), "<b>old</b> old\r");
    EXPECT_EQ(d->summary(), "Replaced 4 matches in 2 files");
}

TEST_F(FindInFilesTest, ReplaceAllAsksFirstAndNoChangesNothing) {
    WriteFile(path("a.hts"), "old\n");
    vlr::TFindInFilesDialog* d = OpenDialog();
    vlr::FindInFilesRequest r = d->request();
    r.replacement = "new";
    d->setRequest(r);
    prompter->QueueAnswer(vlr::ModalResult::No);
    Search(d, "old");
    d->replaceButton()->click();
    EXPECT_EQ(ReadFile(path("a.hts")), "old\n");
    ASSERT_FALSE(prompter->messages().empty());
    EXPECT_EQ(prompter->messages().back().text, "Replace 1 match in 1 file with \"new\"?");
}

}  // namespace
}  // namespace vlrtest
