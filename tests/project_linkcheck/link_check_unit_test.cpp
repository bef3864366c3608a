// "Check Links" of the Project menu: the broken links of a built fixture
// site, listed with page and line, and a listed link opened at its line.
#include "ProjectFixture.h"

#include "../libs/TestHttpServer.h"
#include "editor/window/FrmEditor.h"
#include "project/linkcheck/FrmLinkCheck.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <cstdlib>

namespace {

using vlrtest::ProjectShellTest;

class LinkCheckTest : public ProjectShellTest {
protected:
    void SetUp() override {
        ProjectShellTest::SetUp();
        ::unsetenv("http_proxy");
        ::unsetenv("HTTP_PROXY");
    }
    // A project whose built pages have a broken file link and a broken web link.
    std::string WriteBuiltSite() {
        const std::string src = projectDir + "/src", out = projectDir + "/out";
        MakeFile("src/index.hts", "<!-- VLR source -->\n<p>\n<a href=\"gone.html\">gone</a>\n");
        MakeFile("out/index.html",
                 "<html>\n<a href=\"about.html\">about</a>\n<a href=\"gone.html\">gone</a>\n"
                 "<a href=\"" + server.url("/missing") + "\">web</a>\n<a href=\"" + server.url("/ok") + "\">ok</a>\n");
        MakeFile("out/about.html", "<a href=\"index.html\">home</a>");
        return MakeFile("site.vlr", "[directories]\nsrc=" + src + "\nout=" + out + "\nimg=\n");
    }
    vlr::TFrmLinkCheck* RunCheck(vlr::TFrmMainVLR& w) {
        w.action(QStringLiteral("CheckLinks1"))->trigger();
        auto* window = w.findChild<vlr::TFrmLinkCheck*>();
        if (!window)
            return nullptr;
        QElapsedTimer t;
        t.start();
        while (window->Running() && t.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return window;
    }
    vlrtest::TestHttpServer server;
};

}  // namespace

TEST_F(LinkCheckTest, WithoutAProjectOrBuiltPagesNothingIsChecked) {
    auto w = NewMainWindow();
    ASSERT_TRUE(w->action(QStringLiteral("CheckLinks1"))->isEnabled());
    w->action(QStringLiteral("CheckLinks1"))->trigger();
    MakeFile("empty.vlr", "[directories]\nsrc=" + projectDir + "/src\nout=" + projectDir + "/nothing\n");
    w->projectUnit().OpenProjectPath(projectDir + "/empty.vlr");
    w->action(QStringLiteral("CheckLinks1"))->trigger();
    const std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Open a project to check the links of its pages.");
    EXPECT_EQ(texts[1], "There are no built pages to check in \"" + projectDir +
                            "/nothing\". Build the project first.");
    EXPECT_EQ(w->findChild<vlr::TFrmLinkCheck*>(), nullptr);
}

TEST_F(LinkCheckTest, BrokenLinksAreListedAndOpenAtTheirSourceLine) {
    auto w = NewMainWindow();
    w->projectUnit().OpenProjectPath(WriteBuiltSite());
    vlr::TFrmLinkCheck* window = RunCheck(*w);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->Running());
    EXPECT_EQ(window->StatusLabel->text().toStdString(), "Done: 5 of 5 links checked on 2 pages, 2 broken");
    ASSERT_EQ(window->Results->topLevelItemCount(), 2);
    QTreeWidgetItem* file = window->Results->topLevelItem(0);
    EXPECT_EQ(file->text(0).toStdString(), projectDir + "/src/index.hts");  // the source page
    EXPECT_EQ(file->text(1).toStdString(), "3");
    EXPECT_EQ(file->text(2).toStdString(), "gone.html");
    EXPECT_EQ(file->text(3).toStdString(), "not found on disk");
    QTreeWidgetItem* web = window->Results->topLevelItem(1);
    EXPECT_EQ(web->text(0).toStdString(), projectDir + "/out/index.html");  // not in the source: the built page
    EXPECT_EQ(web->text(1).toStdString(), "4");
    EXPECT_EQ(web->text(3).toStdString(), "404");

    // For a person to look at: the results window.
    window->resize(760, 260);
    QApplication::processEvents();
    const QImage shot = window->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const QString shotPath = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("link_check_results.png"));
    EXPECT_TRUE(shot.save(shotPath));
    std::printf("screenshot: %s\n", qPrintable(shotPath));

    // A double-click on the result opens the page at the link's line.
    auto openResult = [&] {
        QWidget* view = window->Results->viewport();
        const QPoint at = window->Results->visualItemRect(file).center();
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
    };
    openResult();
    auto* editor = w->findChild<vlr::TFrmEditor*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->FileName, projectDir + "/src/index.hts");
    EXPECT_EQ(editor->memo().caretLine(), 3);
    // Again, after moving on in the page: the same window, at the line again.
    editor->memo().goToLineColumn(1, 1);
    openResult();
    EXPECT_EQ(w->findChildren<vlr::TFrmEditor*>().size(), 1);
    EXPECT_EQ(editor->memo().caretLine(), 3);
}

TEST_F(LinkCheckTest, CancelStopsAPendingCheck) {
    auto w = NewMainWindow();
    MakeFile("out/index.html", "<a href=\"" + server.url("/slow") + "\">slow</a>");
    w->projectUnit().OpenProjectPath(
        MakeFile("site.vlr", "[directories]\nsrc=" + projectDir + "/src\nout=" + projectDir + "/out\n"));
    w->action(QStringLiteral("CheckLinks1"))->trigger();
    auto* window = w->findChild<vlr::TFrmLinkCheck*>();
    ASSERT_NE(window, nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(window->Running());
    window->CancelButton->click();
    EXPECT_FALSE(window->Running());
    EXPECT_EQ(window->StatusLabel->text().toStdString(), "Cancelled: 0 of 1 links checked on 1 pages, 0 broken");
}
