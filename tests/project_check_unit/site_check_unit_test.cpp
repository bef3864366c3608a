// "Check Site" of the Project menu: the problems panel lists what the check
// found and opens a problem's file at its line; the page being edited is
// checked after a pause in typing and its problems are marked under the text.
#include "ProjectFixture.h"

#include "editor/window/EditorCheck.h"
#include "editor/window/FrmEditor.h"
#include "memo/widget/SyntaxMemo.h"
#include "project/check_unit/ProblemsPanel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>

namespace {

using vlrtest::ProjectShellTest;

class SiteCheckTest : public ProjectShellTest {
protected:
    // A site like the example: a relative project file, an include with a fault.
    std::string WriteSite() {
        MakeFile("src/parts/nav.inc", "<nav>\n  <a href=\"index.html\">Home</a>\n  <img src=\"logo.png\">\n</nav>\n");
        MakeFile("public/logo.png", "png");
        MakeFile("src/index.hts", "<!DOCTYPE html>\n<html lang=\"en\"><head><title>Home</title></head>\n<body>\n"
                                  "<&parts/nav.inc&>\n<h1>Home</h1>\n<p id=\"a\">x</p><p id=\"a\">y</p>\n</body></html>\n");
        return MakeFile("site.vlr", "[files]\n0=src/index.hts\n[directories]\nsrc=src\nout=public\n");
    }
};

}  // namespace

TEST_F(SiteCheckTest, TheProjectMenuChecksTheSiteAndAProblemOpensItsFile) {
    auto w = NewMainWindow();
    w->action(QStringLiteral("CheckSite1"))->trigger();
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], "Open a project to check its site.");

    w->projectUnit().OpenProjectPath(WriteSite());
    // Through the menu, as the user goes: Project, then "Check &Site" by its key.
    QMenu* project = nullptr;
    for (QAction* a : w->menuBar()->actions())
        if (a->menu() && a->text() == QStringLiteral("&Project"))
            project = a->menu();
    ASSERT_NE(project, nullptr);
    ASSERT_TRUE(project->actions().contains(w->action(QStringLiteral("CheckSite1"))));
    EXPECT_EQ(w->action(QStringLiteral("CheckSite1"))->text(), QStringLiteral("Check &Site"));
    project->popup(QPoint(0, 0));
    QApplication::processEvents();
    QTest::keyClick(project, Qt::Key_S);
    QApplication::processEvents();

    auto* panel = w->findChild<vlr::TProblemsPanel*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Summary->text().toStdString(), "2 errors, 0 warnings in 1 page");
    ASSERT_EQ(panel->List->topLevelItemCount(), 2);
    QTreeWidgetItem* dup = panel->List->topLevelItem(0);
    EXPECT_EQ(dup->text(0).toStdString(), "src/index.hts");
    EXPECT_EQ(dup->text(1).toStdString(), "6");
    EXPECT_EQ(dup->text(4).toStdString(), "duplicate id \"a\"");
    QTreeWidgetItem* img = panel->List->topLevelItem(1);
    EXPECT_EQ(img->text(0).toStdString(), "src/parts/nav.inc");
    EXPECT_EQ(img->text(1).toStdString(), "3");
    EXPECT_EQ(img->text(2).toStdString(), "3");
    EXPECT_EQ(img->text(3).toStdString(), "error");
    EXPECT_EQ(img->text(5).toStdString(), "img-alt");

    // For a person to look at: the main window with the panel.
    w->resize(1000, 640);
    QApplication::processEvents();
    const QString shotPath = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("problems_panel.png"));
    EXPECT_TRUE(w->grab().toImage().save(shotPath));
    std::printf("screenshot: %s\n", qPrintable(shotPath));

    // A double-click opens the include, not the page, at the problem's line.
    QWidget* view = panel->List->viewport();
    const QPoint at = panel->List->visualItemRect(img).center();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
    auto* editor = w->findChild<vlr::TFrmEditor*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->FileName, projectDir + "/src/parts/nav.inc");
    EXPECT_EQ(editor->memo().caretLine(), 3);
}

TEST_F(SiteCheckTest, ThePageIsCheckedAfterAPauseInTypingAndMarked) {
    auto w = NewMainWindow();
    w->projectUnit().OpenProjectPath(WriteSite());
    ASSERT_TRUE(w->Editors().OpenEditorAtLine(projectDir + "/src/index.hts", 5));
    auto* editor = w->findChild<vlr::TFrmEditor*>();
    ASSERT_NE(editor, nullptr);
    vlr::EditorCheck* check = editor->pageCheck();
    ASSERT_NE(check, nullptr);
    // The page as opened: the duplicate id is marked; the include's image is
    // the include's problem, not marked here.
    check->CheckNow();
    ASSERT_EQ(check->Marks().size(), 1u);
    const auto& store = editor->memo().engine().store();
    const vlr::EditorCheck::Mark dup = check->Marks()[0];
    EXPECT_TRUE(dup.error);
    EXPECT_EQ(dup.message.toStdString(), "duplicate id \"a\" [duplicate-id]");
    EXPECT_EQ(store.text(dup.start, dup.end), "<p");
    EXPECT_EQ(check->HintAt(dup.start + 1), dup.message);
    EXPECT_TRUE(check->HintAt(dup.start - 1).isEmpty());

    // Typing makes the second id "ab": after the pause the mark is gone.
    editor->memo().setFocus();
    editor->memo().goToLineColumn(6, 24);
    QTest::keyClick(&editor->memo(), Qt::Key_B);
    ASSERT_EQ(store.lineText(5), "<p id=\"a\">x</p><p id=\"ab\">y</p>");
    EXPECT_EQ(check->Marks().size(), 1u);
    QTest::qWait(vlr::EditorCheck::kPauseMs + 400);
    EXPECT_TRUE(check->Marks().empty());
    // And back.
    QTest::keyClick(&editor->memo(), Qt::Key_Backspace);
    QTest::qWait(vlr::EditorCheck::kPauseMs + 400);
    ASSERT_EQ(check->Marks().size(), 1u);
    EXPECT_EQ(check->Marks()[0].start, dup.start);
}
