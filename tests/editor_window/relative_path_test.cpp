// Paths that enter the program relative to the current directory keep naming
// the same file after a project makes its own folder current.
#include "EditorFixture.h"
#include "app/window/WindowUnit.h"

#include "platform/IniFile.h"

#include <QDir>
#include <QMdiArea>

#include <filesystem>

namespace vlrtest {
namespace {

namespace fs = std::filesystem;

TEST_F(EditorTest, ARelativeDocumentIsSavedToItsOwnFileAfterAProjectOpens) {
    fs::create_directories(work / "pages");
    fs::create_directories(work / "site");
    WriteFile(path("pages/page.hts"), "<p>old</p>");
    WriteFile(path("site/site.vlr"), "[directories]\nsrc=" + path("site") + "\n");
    QDir::setCurrent(QString::fromStdString(path("pages")));
    main->projectUnit().ParseToOpen("page.hts");
    vlr::TFrmEditor* e = vlr::FrmEditor;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->FileName, path("pages/page.hts"));

    main->projectUnit().ParseToOpen(path("site/site.vlr"));
    EXPECT_EQ(QDir::currentPath().toStdString(), path("site"));
    main->MdiArea()->setActiveSubWindow(e->subWindow());
    Type(e, "new ");
    main->windowUnit().SaveClick();
    EXPECT_EQ(ReadFile(path("pages/page.hts")), "new <p>old</p>");
    EXPECT_FALSE(fs::exists(path("site/page.hts")));
}

TEST_F(EditorTest, SaveAsWithARelativeNameKeepsTheAbsolutePath) {
    fs::create_directories(work / "out");
    QDir::setCurrent(QString::fromStdString(path("out")));
    vlr::TFrmEditor* e = NewEditor();
    prompter->QueueFile("copy.hts");
    ASSERT_TRUE(e->SaveAs());
    EXPECT_EQ(e->FileName, path("out/copy.hts"));
    QDir::setCurrent(QString::fromStdString(work.string()));
    Type(e, "x");
    ASSERT_TRUE(e->SaveIt());
    EXPECT_TRUE(fs::exists(path("out/copy.hts")));
    EXPECT_FALSE(fs::exists(path("copy.hts")));
}

}  // namespace
}  // namespace vlrtest
