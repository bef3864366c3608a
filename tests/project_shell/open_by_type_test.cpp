// Opening files by type from every trigger: the extension table, the open
// dialog, the file list and drops on the file list and the toolbar docks.
#include "ProjectFixture.h"

#include "app/commands/MainCommands.h"
#include "project/unit/ProjectFileList.h"
#include "app/shell/RecentList.h"
#include "app/shell/StatusLine.h"
#include "platform/IniFile.h"
#include "project/open/FileKinds.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

namespace vlrtest {
namespace {

// Drags the files onto a widget and drops them there, as the desktop does.
bool DropFiles(QWidget* target, const std::vector<std::string>& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& f : files)
        urls << QUrl::fromLocalFile(QString::fromStdString(f));
    data.setUrls(urls);
    const QPointF at(5, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

class OpenByTypeTest : public ProjectShellTest {
protected:
    std::string OpenProject(vlr::TFrmMainVLR& w) {
        const std::string vlr = projectDir + "/site.vlr";
        vlr::IniFile(vlr).WriteString("directories", "src", projectDir);
        w.projectUnit().ParseToOpen(vlr);
        return vlr;
    }
};

TEST_F(OpenByTypeTest, TheExtensionDecidesAndLetterCaseCounts) {
    auto w = NewProjectWindow();
    const std::string upper = MakeFile("INDEX.HTM");
    const std::string lower = MakeFile("index.htm");
    const std::string logo = MakeFile("logo.gif");
    const std::string other = MakeFile("notes.doc");

    w->projectUnit().ParseToOpen(upper);
    ASSERT_EQ(prompter->prompts().size(), 2u);
    EXPECT_EQ(prompter->prompts()[0].type, vlr::RecordedPrompt::Beep);
    EXPECT_EQ(prompter->prompts()[0].beep, vlr::BeepKind::Asterisk);
    EXPECT_EQ(prompter->prompts()[1].text, "Unrecognized File Extension");
    EXPECT_EQ(prompter->prompts()[1].kind, vlr::MessageKind::Error);
    EXPECT_TRUE(editorOpened.empty());

    w->projectUnit().ParseToOpen(lower);
    EXPECT_EQ(editorOpened, std::vector<std::string>{lower});
    EXPECT_EQ(w->Status().documentKind(), "editor");

    w->Status().setPanelText(2, "12");
    w->projectUnit().ParseToOpen(logo);
    EXPECT_EQ(Outside().viewed, std::vector<std::string>{logo});
    EXPECT_EQ(w->Status().documentKind(), "graphic");
    EXPECT_EQ(w->Status().panelText(2), "");
    EXPECT_EQ(w->RecentFiles().items(), (QStringList{QString::fromStdString(logo), QString::fromStdString(lower)}));
    EXPECT_TRUE(w->updatesEnabled());

    prompter->Clear();
    w->projectUnit().ParseToOpen(other);
    w->projectUnit().ParseToOpen(projectDir + "/missing.hts");
    std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Unrecognized File Extension");
    EXPECT_EQ(texts[1], "File does not exist: " + projectDir + "/missing.hts");
    EXPECT_EQ(editorOpened.size(), 1u);
}

TEST_F(OpenByTypeTest, SetImageExHidesBothIconsForOtherKinds) {
    auto w = NewProjectWindow();
    w->projectUnit().SetImageEx("graphic");
    EXPECT_EQ(w->Status().documentKind(), "graphic");
    w->projectUnit().SetThePic("none");  // only the two kinds count here
    EXPECT_EQ(w->Status().documentKind(), "graphic");
    w->Status().setPanelText(6, "Modified");
    w->projectUnit().SetImageEx("none");
    EXPECT_EQ(w->Status().documentKind(), "none");
    EXPECT_EQ(w->Status().panelText(6), "");
}

TEST_F(OpenByTypeTest, TheOpenCommandUsesTheOneFileDialog) {
    auto w = NewProjectWindow();
    const std::string page = MakeFile("page.hsn");
    prompter->QueueFile(page);
    w->action("OpenFile1")->trigger();
    ASSERT_FALSE(prompter->prompts().empty());
    const vlr::FileDialogRequest& r = prompter->prompts().front().dialog;
    EXPECT_EQ(r.title, "Open File");
    EXPECT_EQ(r.filter,
              "HTML Source (.hts)|*.hts|HTML Snippet (.hsn)|*.hsn|HTML Template (.htf)|*.htf|VLR Project "
              "(.vlr)|*.vlr|HTML File (.html,.htm)|*.html;*.htm|Active Server Page (.asp)|*.asp|Object Pascal "
              "Script (.ops)|*.ops|Javascript Script (.js)|*.js|Gif Image (.gif)|*.gif|Jpeg Image (.jpg)|*.jpg|"
              "Bitmap Image (.bmp)|*.bmp|Windows Metafile (.wmf)|*.wmf|Enhanced Metafile (.emf)|*.emf|Icon "
              "(.ico)|*.ico|All Files (.*)|*.*");
    EXPECT_NE(vlr::QtFilterFrom(r.filter).find("HTML Template (.htf) (*.htf)"), std::string::npos);
    EXPECT_EQ(editorOpened, std::vector<std::string>{page});
    // Reopen File opens by type as well.
    w->RecentFiles().Add(QString::fromStdString(page));
    w->Commands().menu("ReopenFile1")->actions().front()->trigger();
    EXPECT_EQ(editorOpened.size(), 2u);
}

TEST_F(OpenByTypeTest, DroppingOnTheFileListAddsSourceFilesOnly) {
    auto w = NewProjectWindow();
    QWidget* viewport = w->projectUnit().projectFileList().view()->viewport();
    const std::vector<std::string> files = {MakeFile("a.hts"), MakeFile("b.gif"), MakeFile("c.hts"),
                                            MakeFile("d.gif")};
    // No project: the drop is ignored.
    DropFiles(viewport, files);
    EXPECT_TRUE(prompter->messages().empty());
    EXPECT_TRUE(w->projectUnit().AllFiles().empty());

    OpenProject(*w);
    EXPECT_TRUE(DropFiles(viewport, files));
    EXPECT_EQ(w->projectUnit().AllFiles(), (std::vector<std::string>{files[0], files[2]}));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"VLR Projects contain HTML source files only",
                                                        "VLR Projects contain HTML source files only"}));
    EXPECT_EQ(w->projectUnit().projectFileList().RowCount(), 2);
    EXPECT_TRUE(Outside().viewed.empty());
}

TEST_F(OpenByTypeTest, DroppingOnAToolbarOrItsDockOpensEachFileByType) {
    auto w = NewProjectWindow();
    const std::string page = MakeFile("p.html");
    const std::string picture = MakeFile("q.jpg");
    EXPECT_TRUE(DropFiles(w->Commands().toolbar("TlbHTML"), {page, picture}));
    EXPECT_EQ(editorOpened, std::vector<std::string>{page});
    EXPECT_EQ(Outside().viewed, std::vector<std::string>{picture});

    // The document area is not a dock.
    editorOpened.clear();
    EXPECT_FALSE(DropFiles(w->MdiArea()->viewport(), {page}));
    EXPECT_TRUE(editorOpened.empty());
}

TEST_F(OpenByTypeTest, TheFileListsEditItemOpensTheRowsFullPath) {
    auto w = NewProjectWindow();
    OpenProject(*w);
    const std::string page = MakeFile("sub/page.hts");
    w->projectUnit().AddFiles({page});
    vlr::ProjectFileList& list = w->projectUnit().projectFileList();
    EXPECT_EQ(list.RowAt(0).outputFolder, "sub");
    QTreeWidgetItem* item = list.view()->topLevelItem(0);
    Q_EMIT list.view()->itemDoubleClicked(item, 0);
    EXPECT_EQ(editorOpened, std::vector<std::string>{page});
    list.Select(0);
    list.editItem()->trigger();
    EXPECT_EQ(editorOpened.size(), 2u);
}

TEST(FileKinds, ExtensionTableAndPathHelpers) {
    using vlr::OpenKind;
    for (const char* ext : {".gif", ".jpg", ".bmp", ".wmf", ".emf", ".ico"})
        EXPECT_EQ(vlr::KindOfFile(std::string("/x/a") + ext), OpenKind::Graphic) << ext;
    for (const char* ext : {".hts", ".asp", ".htf", ".ops", ".htm", ".html", ".phtm", ".txt", ".js", ".phtml",
                            ".shtml", ".hsn", ".shtm"})
        EXPECT_EQ(vlr::KindOfFile(std::string("/x/a") + ext), OpenKind::Editor) << ext;
    EXPECT_EQ(vlr::KindOfFile("/x/a.vlr"), OpenKind::Project);
    for (const char* name : {"/x/a.GIF", "/x/a.Htm", "/x/a", "/x.y/a", "/x/a.vlr.bak", "/x/a.jpeg"})
        EXPECT_EQ(vlr::KindOfFile(name), OpenKind::Unknown) << name;
    EXPECT_EQ(vlr::ProjectCaption("/p/site.beta.vlr"), "site.beta - Velora");
    EXPECT_EQ(vlr::ProjectCaption("/p.q/project"), " - Velora");
    EXPECT_EQ(vlr::LookupDirectory("logo.gif", "/src", "/img"), "/img/");
    EXPECT_EQ(vlr::LookupDirectory("logo.GIF", "/src", "/img"), "/src/");
    EXPECT_EQ(vlr::DirectoryOf("/a/b.hts"), "/a");
    EXPECT_EQ(vlr::DirectoryOf("/b.hts"), "/");
}

}  // namespace
}  // namespace vlrtest
