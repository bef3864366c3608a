// The three creation entries of the editor window and what they report.
#include "EditorFixture.h"

#include "app/units/CommandGate.h"
#include "app/shell/StatusLine.h"
#include "editor/window/EditorCreate.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/RecentDocuments.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QTabBar>

namespace fs = std::filesystem;
using namespace vlr;

namespace vlrtest {
namespace {

TEST_F(EditorTest, ForFileLoadsNamesAndReportsTheDocument) {
    WriteFile(path("page one.hts"), "one\r\ntwo\r\n");
    TFrmEditor* e = EditorFor(path("page one.hts"));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(FrmEditor, e);
    EXPECT_EQ(e->windowTitle().toStdString(), "page one.hts");
    EXPECT_EQ(e->FileName, path("page one.hts"));
    EXPECT_EQ(Text(e), "one\rtwo\r");
    EXPECT_FALSE(e->memo().modified());
    EXPECT_TRUE(e->Ready);
    EXPECT_EQ(e->memo().selection().caret, 0);
    EXPECT_TRUE(e->isVisible());
    // The tab strip exists exactly when the preview browser does.
    EXPECT_EQ(e->TabSet1->isHidden(), e->Browser == nullptr);
    EXPECT_EQ(e->TabSet1->tabText(0).toStdString(), "  Source  ");
    EXPECT_EQ(e->TabSet1->tabText(1).toStdString(), "  Preview  ");
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 1);
    EXPECT_EQ(main->Status().documentKind().toStdString(), "editor");
    EXPECT_EQ(main->Status().panelText(2).toStdString(), "1");
    EXPECT_EQ(main->Status().panelText(3).toStdString(), "1");
    EXPECT_TRUE(prompter->messages().empty());
    EXPECT_TRUE(main->updatesEnabled());
}

TEST_F(EditorTest, OpenedFilesJoinTheDesktopsRecentDocuments) {
    WriteFile(path("a&b.hts"), "x");
    ASSERT_NE(EditorFor(path("a&b.hts")), nullptr);
    ASSERT_NE(EditorFor(path("a&b.hts")), nullptr);
    const std::string list = ReadFile(RecentDocumentsFile());
    const std::string href = "href=\"file://" + path("a&amp;b.hts") + "\"";
    ASSERT_NE(list.find(href), std::string::npos) << list;
    EXPECT_EQ(list.find(href), list.rfind(href));  // listed once
    EXPECT_NE(list.find("</xbel>"), std::string::npos);

    // A file that is not such a list is left alone.
    WriteFile(RecentDocumentsFile(), "not a list");
    EXPECT_FALSE(AddToRecentDocs(path("a&b.hts")));
    EXPECT_EQ(ReadFile(RecentDocumentsFile()), "not a list");
}

TEST_F(EditorTest, MissingFileOrTemplateGivesTheMessage) {
    EXPECT_EQ(EditorFor(path("gone.hts")), nullptr);
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 0);
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "Unable to find file " + path("gone.hts"));
    EXPECT_EQ(prompter->messages()[0].kind, MessageKind::Information);
    EXPECT_EQ(prompter->messages()[0].buttons, unsigned(BtnOk));
    EXPECT_EQ(prompter->prompts()[0].type, RecordedPrompt::Beep);
    EXPECT_EQ(prompter->prompts()[0].beep, BeepKind::Asterisk);

    // A missing template still gives an empty untitled window.
    prompter->Clear();
    TFrmEditor* t = main->editorUnit().OpenEditorFromTemplate(path("gone.htf"));
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "Unable to find file " + path("gone.htf"));
    EXPECT_EQ(t->FileName, kUntitled);
    EXPECT_EQ(Text(t), "");
    EXPECT_TRUE(t->Ready);
}

TEST_F(EditorTest, FromTemplateIsUntitledWithTheTemplatesText) {
    WriteFile(path("letter.htf"), "<html>\n<body>\n</body>\n</html>\n");
    TFrmEditor* e = main->editorUnit().OpenEditorFromTemplate(path("letter.htf"));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->FileName, kUntitled);
    EXPECT_EQ(e->windowTitle().toStdString(), kUntitled);
    EXPECT_EQ(Text(e), "<html>\r<body>\r</body>\r</html>\r");
    EXPECT_FALSE(e->memo().modified());
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(EditorTest, NewEditorLoadsTheDefaultTemplateOrStaysEmpty) {
    const std::string normal = ReadFile((appDir / "templates" / "normal.htf").string());
    ASSERT_FALSE(normal.empty());
    TFrmEditor* e = NewEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->FileName, kUntitled);
    EXPECT_EQ(e->memo().textCRLF().size() > 0, true);
    EXPECT_EQ(Text(e).substr(0, 5), normal.substr(0, 5));
    EXPECT_TRUE(prompter->messages().empty());

    fs::remove(appDir / "templates");  // the link to the run folder's templates
    TFrmEditor* empty = NewEditor();
    ASSERT_NE(empty, nullptr);
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "Unable to find file " + appDir.string() + "/templates/normal.htf");
    EXPECT_EQ(Text(empty), "");
    EXPECT_EQ(empty->FileName, kUntitled);
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 2);
}

TEST_F(EditorTest, PreferencesMaximiseAndSetTheFont) {
    WritePreferences("[Environment]\nNewEditor=0\n[EdEnv]\nMaximize=1\nFontNm=Liberation Mono\nFontSz=14\n");
    TFrmEditor* a = NewEditor();
    TFrmEditor* b = NewEditor();
    EXPECT_TRUE(a->subWindow()->isMaximized() || b->subWindow()->isMaximized());
    EXPECT_TRUE(b->subWindow()->isMaximized());
    EXPECT_EQ(b->memo().fontSize(), 14);
    EXPECT_EQ(b->memo().fontName().toStdString(), "Liberation Mono");

    // 3084 applies changed preferences to an open window.
    WritePreferences("[EdEnv]\nFontSz=9\n");
    Command(b, EM_READ_FONT);
    EXPECT_EQ(b->memo().fontSize(), 9);
    EXPECT_EQ(b->memo().fontName().toStdString(), "Courier New");
}

TEST_F(EditorTest, ControlStartsWithTheWindowsSettings) {
    TFrmEditor* e = NewEditor();
    const auto& en = e->memo().engine();
    EXPECT_EQ(en.tabDefault, 4);
    EXPECT_EQ(en.rightMargin, 80);
    EXPECT_EQ(en.wrapAtColumn, 0);
    EXPECT_EQ(en.margin, 2);
    EXPECT_EQ(en.selTextBack, velora::memo::rgb(0, 0, 128));
    EXPECT_FALSE(en.hasOption(velora::memo::smoWordWrap));
    EXPECT_TRUE(en.hasOption(velora::memo::smoSyntaxHighlight));
    EXPECT_TRUE(en.hasOption(velora::memo::smoOLEDragSource));
    EXPECT_EQ(en.activeParser(), 1);
    EXPECT_TRUE(e->CheckSpelling1->isVisible());
    EXPECT_TRUE(e->LastFind.empty());
    EXPECT_EQ(e->LastFindOptions, 0u);
    EXPECT_FALSE(e->TickId.empty());
}

// The load of the template is the first change: it reports the edit buttons
// but leaves Undo and Redo as they were; later changes refresh them.
TEST_F(EditorTest, FirstChangeReportsEditButtonsButLeavesUndoRedo) {
    SpyWindow spy;
    main->Gate().setEnabled("Undo2", true);
    main->Gate().setEnabled("Redo2", true);
    TFrmEditor* e = CreateNewEditor(main->editorUnit(), 0, appDir.string() + "/", spy.handle(), {});
    ASSERT_NE(e, nullptr);
    ASSERT_FALSE(spy.of(MW_DO_EDIT_BUTTONS).empty());
    EXPECT_EQ(spy.of(MW_DO_EDIT_BUTTONS).back().first, "false");
    // Changes while it was built report no modified state; the finished window reports it once.
    ASSERT_EQ(spy.of(MW_EDITOR_MOD_STATE).size(), 1u);
    EXPECT_EQ(spy.of(MW_EDITOR_MOD_STATE)[0].first, "false");
    EXPECT_TRUE(Enabled("Undo2"));
    EXPECT_TRUE(Enabled("Redo2"));

    Type(e, "x");
    EXPECT_TRUE(Enabled("Undo2"));
    EXPECT_FALSE(Enabled("Redo2"));
    ASSERT_FALSE(spy.of(MW_EDITOR_MOD_STATE).empty());
    EXPECT_EQ(spy.of(MW_EDITOR_MOD_STATE).back().first, "true");
    e->memo().undo();
    EXPECT_FALSE(Enabled("Undo2"));
    EXPECT_TRUE(Enabled("Redo2"));
    e->memo().setModified(false);
}

TEST_F(EditorTest, EditorCommandsFollowTheOpenWindows) {
    EXPECT_FALSE(Enabled("SaveAll1"));
    TFrmEditor* a = NewEditor();
    TFrmEditor* b = NewEditor();
    EXPECT_TRUE(Enabled("SaveAll1"));
    EXPECT_TRUE(Enabled("CloseAll1"));
    b->subWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Enabled("SaveAll1"));
    EXPECT_EQ(FrmEditor, nullptr);  // destroying any editor clears it
    a->subWindow()->close();
    ProcessMessages();
    EXPECT_FALSE(Enabled("SaveAll1"));
    EXPECT_FALSE(Enabled("Cut2"));
    EXPECT_EQ(main->Status().documentKind().toStdString(), "none");
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 0);
}

}  // namespace
}  // namespace vlrtest
