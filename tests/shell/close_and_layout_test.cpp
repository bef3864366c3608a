#include "ShellFixture.h"

#include "app/commands/MainCommands.h"
#include "app/shell/SidePanel.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QToolBar>

namespace vlrtest {
namespace {

TEST_F(ShellTest, CancelAtTheProjectQuestionKeepsTheProgramOpen) {
    auto w = NewMainWindow();
    w->projectUnit().SetProjectState("/sites/a.vlr", true);
    prompter->QueueAnswer(vlr::ModalResult::Cancel);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->projectUnit().ProjectModified());
    EXPECT_EQ(w->projectUnit().ProjectFile(), "/sites/a.vlr");
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "Save changes to current project?");
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Confirmation);
    EXPECT_EQ(prompter->messages()[0].buttons, unsigned(vlr::BtnYesNoCancel));
}

TEST_F(ShellTest, YesSavesTheProjectAndNoClosesWithoutSaving) {
    // The project file exists exactly when it was saved.
    const std::string saved = (appDir / "saved.vlr").string();
    {
        auto w = NewMainWindow();
        w->projectUnit().SetProjectState(saved, true);
        prompter->QueueAnswer(vlr::ModalResult::Yes);
        EXPECT_TRUE(w->close());
        EXPECT_TRUE(std::filesystem::exists(saved));
    }
    const std::string unsaved = (appDir / "unsaved.vlr").string();
    auto w = NewMainWindow();
    w->projectUnit().SetProjectState(unsaved, true);
    prompter->QueueAnswer(vlr::ModalResult::No);
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(std::filesystem::exists(unsaved));
    EXPECT_EQ(w->projectUnit().ProjectFile(), "none");
}

TEST_F(ShellTest, AChildThatRefusesToCloseKeepsTheProgramOpen) {
    auto w = NewMainWindow();
    QWidget* child = AddChild(*w, "TFrmEditor");
    struct Refuse : QObject {
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Close) {
                e->ignore();
                return true;
            }
            return false;
        }
    } refuse;
    child->installEventFilter(&refuse);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(w->MdiArea()->subWindowList().size(), 1);
    child->removeEventFilter(&refuse);
    EXPECT_TRUE(w->close());
}

TEST_F(ShellTest, SavedToolbarRowsAreTheLinesTheBarsSitOn) {
    {
        auto w = NewMainWindow();
        ASSERT_TRUE(w->close());
    }
    // Main on line 1, Editor Options and Form Elements side by side on line 2,
    // Text Options on 3 and Tags on 4, as at first start.
    const std::string prefs = ReadPreferences();
    for (const char* key : {"TlbMain_DockRow=1", "TLBEditor_DockRow=2", "TLBForms_DockRow=2", "TlbText_DockRow=3",
                            "TlbHTML_DockRow=4"})
        EXPECT_NE(prefs.find(key), std::string::npos) << key << "\n" << prefs;
    // Read back, the bars take the same lines again.
    auto w = NewMainWindow();
    const int editorTop = w->Commands().toolbar("TLBEditor")->geometry().top();
    EXPECT_EQ(w->Commands().toolbar("TLBForms")->geometry().top(), editorTop);
    EXPECT_GT(w->Commands().toolbar("TlbText")->geometry().top(), editorTop);
    EXPECT_GT(w->Commands().toolbar("TlbHTML")->geometry().top(), w->Commands().toolbar("TlbText")->geometry().top());
}

TEST_F(ShellTest, LayoutIsWrittenAtCloseAndRestoredAtStart) {
    {
        auto w = NewMainWindow();
        w->Commands().toolbar("TlbHTML")->hide();
        w->FileListClick();
        EXPECT_FALSE(w->sidePanel().isVisible());
        ASSERT_TRUE(w->close());
    }
    std::string prefs = ReadPreferences();
    for (const char* key : {"TlbHTML_Visible=0", "TlbMain_Visible=1", "Panel1_Visible=0", "ShowCmd=1", "NormPos=",
                            "MinMaxPos=", "Flags=", "TLBForms_DockRow=", "TlbText_Dock=0"})
        EXPECT_NE(prefs.find(key), std::string::npos) << key << "\n" << prefs;
    auto w = NewMainWindow();
    EXPECT_FALSE(w->Commands().toolbar("TlbHTML")->isVisible());
    EXPECT_TRUE(w->Commands().toolbar("TlbMain")->isVisible());
    EXPECT_FALSE(w->sidePanel().isVisible());
    w->View1Click();
    EXPECT_FALSE(w->action("HTMLToolbar1")->isChecked());
    EXPECT_TRUE(w->action("MainToolbar1")->isChecked());
    EXPECT_FALSE(w->action("FileList1")->isChecked());
}

TEST_F(ShellTest, ToolbarsStartInTheirRows) {
    auto w = NewMainWindow();
    auto top = [&](const char* name) { return w->Commands().toolbar(name)->geometry().top(); };
    auto left = [&](const char* name) { return w->Commands().toolbar(name)->geometry().left(); };
    EXPECT_LT(top("TlbMain"), top("TLBEditor"));
    EXPECT_EQ(top("TLBEditor"), top("TLBForms"));
    EXPECT_LT(left("TLBEditor"), left("TLBForms"));
    EXPECT_LT(top("TLBForms"), top("TlbText"));
    EXPECT_LT(top("TlbText"), top("TlbHTML"));
}

}  // namespace
}  // namespace vlrtest
