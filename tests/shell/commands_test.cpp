#include "ShellFixture.h"
#include "app/window/WindowUnit.h"

#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/shell/SidePanel.h"
#include "app/shell/StatusLine.h"
#include "platform/IniFile.h"
#include "platform/System.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>

namespace vlrtest {
namespace {

TEST_F(ShellTest, UpdateEditorCommandsCountsEditorWindows) {
    WritePreferences("[Environment]\nNewEditor=0\n");  // only the stand-in windows below
    auto w = NewMainWindow();
    w->Gate().makeAvailable(vlr::CommandGroup::EditForward);
    w->Gate().makeAvailable(vlr::CommandGroup::EditorFile);
    w->Gate().makeAvailable(vlr::CommandGroup::Printing);
    QAction* saveAll = w->action("SaveAll1");
    QAction* closeAll = w->action("CloseAll1");
    QAction* print = w->action("Print1");
    w->UpdateEditorCommands(true);
    EXPECT_FALSE(closeAll->isEnabled());
    EXPECT_FALSE(print->isEnabled());

    AddChild(*w, "TFrmEditor");
    w->UpdateEditorCommands(false);  // an editor window opened
    EXPECT_TRUE(closeAll->isEnabled());
    EXPECT_TRUE(saveAll->isEnabled());
    EXPECT_TRUE(print->isEnabled());
    AddChild(*w, "TFrmEditor");
    w->UpdateEditorCommands(false);

    // Closing one of two leaves the commands enabled (an editor window
    // reports its closing while it is still there).
    w->UpdateEditorCommands(true);
    w->MdiArea()->subWindowList().back()->close();
    EXPECT_TRUE(closeAll->isEnabled());
    EXPECT_EQ(w->ChildCount("TFrmEditor"), 1);
    // Closing the last disables them.
    w->UpdateEditorCommands(true);
    w->MdiArea()->subWindowList().front()->close();
    EXPECT_FALSE(closeAll->isEnabled());
    EXPECT_FALSE(w->action("Cut2")->isEnabled());
    EXPECT_FALSE(print->isEnabled());
}

TEST_F(ShellTest, CommandsOfUnbuiltFeaturesStayDisabled) {
    auto w = NewMainWindow();
    AddChild(*w, "TFrmEditor");
    w->UpdateEditorCommands(false);
    // The Insert menu needs the markup commands, which this build gates.
    bool anyInsertEnabled = false;
    for (QAction* a : w->Commands().actionsOfGroup(vlr::CommandGroup::Authoring))
        anyInsertEnabled = anyInsertEnabled || a->isEnabled();
    EXPECT_EQ(anyInsertEnabled, w->Gate().available(vlr::CommandGroup::Authoring));
    EXPECT_TRUE(w->action("Tile1")->isEnabled());
    EXPECT_TRUE(w->action("About1")->isEnabled());
}

TEST_F(ShellTest, Message3038RereadsLowerTagsAndTellsEditorWindows) {
    auto w = NewMainWindow();
    AddChild(*w, "TFrmEditor");
    AddChild(*w, "TFrmOther");
    EXPECT_TRUE(w->LowerTags());
    vlr::IniFile((appDir / "preferences.dat").string()).WriteBool("Environment", "LowerTags", false);
    vlr::SendMessage(w->handle(), 3038, 0, 0);
    EXPECT_FALSE(w->LowerTags());
    ASSERT_EQ(ChildMessages().size(), 1u);
    EXPECT_EQ(ChildMessages()[0].className, "TFrmEditor");
    EXPECT_EQ(ChildMessages()[0].msg, 3084u);
    EXPECT_EQ(vlr::SendMessage(w->handle(), 20, 0, 0), 1);
}

TEST_F(ShellTest, StatusLinePanelsFollowTheWindowWidth) {
    auto w = NewMainWindow();
    w->resize(1000, 700);
    vlr::ProcessMessages();
    vlr::StatusLine* s = &w->statusLine();
    EXPECT_EQ(s->panelWidth(0), 20);
    EXPECT_EQ(s->panelWidth(1), w->width() - 447);
    EXPECT_EQ(s->panelWidth(5), 180);
    EXPECT_EQ(s->progressLeft(), s->width() - 345);
    EXPECT_EQ(s->kindIconLeft(), s->width() - 364);
    s->setPanelText(2, "12");
    s->setPanelText(6, "Modified");
    s->showDocumentKind("none");
    EXPECT_EQ(s->panelText(2), "");
    EXPECT_EQ(s->panelText(6), "");
    w->ShowHint("Open a file");
    EXPECT_EQ(s->panelText(1), "Open a file");
    w->ShowHint("");
    EXPECT_EQ(s->panelText(1), "");
}

TEST_F(ShellTest, HelpAndWebSiteCommandsOpenTheirPages) {
    auto w = NewMainWindow();
    std::vector<std::string> opened;
    vlr::SetShellOpenHook([&](const std::string& t) { opened.push_back(t); return true; });
    w->action("Contents1")->trigger();
    w->action("KeywordSearch1")->trigger();
    w->action("HowToUseHelp1")->trigger();
    w->action("Developers1")->trigger();
    w->action("MainPage1")->trigger();
    std::string help = appDir.string() + "/help/";
    ASSERT_EQ(opened.size(), 5u);
    EXPECT_EQ(opened[0], help + "index.html");
    EXPECT_EQ(opened[1], help + "keywords.html");
    EXPECT_EQ(opened[2], help + "usinghelp.html");
    EXPECT_EQ(opened[3], std::string(vlr::TWindowUnit::VendorSite()) + "/developers.html");
    EXPECT_EQ(opened[4], vlr::TWindowUnit::VendorSite());
}

// "New..." runs the new-document dialog of the system module with the
// application and the main window, like the other module dialogs.
int newDocumentDialogs = 0;
vlr::Handle newDocumentOwner = 0;
void RecordingShowObjRep(vlr::Handle, vlr::Handle mainWindow) {
    ++newDocumentDialogs;
    newDocumentOwner = mainWindow;
}

TEST_F(ShellTest, NewRunsTheNewDocumentDialog) {
    auto w = NewMainWindow();
    w->Libraries().entry.ShowObjRep = RecordingShowObjRep;
    newDocumentDialogs = 0;
    QAction* item = w->action("New1");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    EXPECT_EQ(newDocumentDialogs, 1);
    EXPECT_EQ(newDocumentOwner, w->MainHandle());
}

TEST_F(ShellTest, WindowCommandsArrangeChildren) {
    auto w = NewMainWindow();
    w->resize(1000, 700);
    w->Gate().makeAvailable(vlr::CommandGroup::EditorFile);
    // Editor windows report each opening as it happens.
    AddChild(*w, "TFrmEditor");
    w->UpdateEditorCommands(false);
    AddChild(*w, "TFrmEditor");
    w->UpdateEditorCommands(false);
    w->action("Tile1")->trigger();
    auto subs = w->MdiArea()->subWindowList();
    EXPECT_NE(subs[0]->geometry().topLeft(), subs[1]->geometry().topLeft());
    EXPECT_FALSE(subs[0]->geometry().intersects(subs[1]->geometry()));
    w->action("Cascade1")->trigger();
    EXPECT_TRUE(subs[0]->geometry().intersects(subs[1]->geometry()));
    w->action("CloseAll1")->trigger();
    vlr::ProcessMessages();
    EXPECT_EQ(w->ChildCount("TFrmEditor"), 0);
    EXPECT_FALSE(w->action("CloseAll1")->isEnabled());
}

TEST_F(ShellTest, SidePanelTabsSwitchPageAndTitle) {
    auto w = NewMainWindow();
    EXPECT_EQ(w->sidePanel().title(), " File List");
    EXPECT_EQ(w->sidePanel().tabs()->tabText(0), "  Files  ");
    EXPECT_EQ(w->sidePanel().tabs()->tabText(1), "  Colors  ");
    w->sidePanel().tabs()->setCurrentIndex(1);
    EXPECT_EQ(w->sidePanel().title(), " Color Picker");
    w->sidePanel().tabs()->setCurrentIndex(0);
    EXPECT_EQ(w->sidePanel().title(), " File List");
}

TEST_F(ShellTest, PrintingCommandsFollowThePrinterCheck) {
    ::setenv("VELORA_NO_PRINTER", "1", 1);
    auto w = NewMainWindow();
    ::unsetenv("VELORA_NO_PRINTER");
    EXPECT_FALSE(w->action("PrinterSetup1")->isEnabled());
    EXPECT_FALSE(w->action("PrinterSetup2")->isEnabled());
    // Print is off from the start, and stays off when editor windows open.
    EXPECT_FALSE(w->action("Print1")->isEnabled());
    EXPECT_FALSE(w->action("PrintDocument1")->isEnabled());
    ::setenv("VELORA_NO_PRINTER", "1", 1);
    AddChild(*w, "TFrmEditor");
    AddChild(*w, "TFrmEditor");
    w->UpdateEditorCommands(false);
    ::unsetenv("VELORA_NO_PRINTER");
    EXPECT_FALSE(w->action("Print1")->isEnabled());
    EXPECT_FALSE(w->action("PrintDocument1")->isEnabled());
}

}  // namespace
}  // namespace vlrtest

#include "appearance/palette/ColorPicker.h"

namespace vlrtest {
namespace {

TEST_F(ShellTest, TheDefaultSwatchesAreLoadedAfterTheFirstShowing) {
    auto w = NewMainWindow(false);
    EXPECT_EQ(w->colorPicker()->SelectedSwatch(), 0);
    w->show();
    vlr::ProcessMessages();
    EXPECT_EQ(w->colorPicker()->SelectedSwatch(), 1);
    EXPECT_EQ(w->colorPicker()->PaletteCaption(), " Palette: Web Safe");
    // Web-safe colours are in the grid.
    bool anyNonBlack = false;
    for (auto c : w->colorPicker()->PaletteColors())
        anyNonBlack = anyNonBlack || c != 0;
    EXPECT_TRUE(anyNonBlack);
}

TEST_F(ShellTest, ADoubleClickedColourGoesToTheActiveEditorWindow) {
    auto w = NewMainWindow();
    Q_EMIT w->colorPicker()->colorInsertRequested("#FF0080");
    EXPECT_TRUE(ChildMessages().empty());
    AddChild(*w, "TFrmEditor");
    Q_EMIT w->colorPicker()->colorInsertRequested("#FF0080");
    ASSERT_EQ(ChildMessages().size(), 1u);
    EXPECT_EQ(ChildMessages()[0].msg, 2029u);
}

}  // namespace
}  // namespace vlrtest

#include "platform/Record.h"

namespace vlrtest {
namespace {

TEST_F(ShellTest, DocumentKindMessageShowsTheKindIcon) {
    auto w = NewMainWindow();
    auto send = [&](const char* kind) {
        vlr::SendMessage(w->handle(), 2322, 0, reinterpret_cast<vlr::LParam>(vlr::MakeRecord(kind).release()));
    };
    // Showing the picture icon clears the caret panels; while it shows they stay.
    w->Status().setPanelText(2, "12");
    w->Status().setPanelText(3, "4");
    send("graphic");
    EXPECT_EQ(w->Status().documentKind(), "graphic");
    EXPECT_EQ(w->Status().panelText(2), "");
    EXPECT_EQ(w->Status().panelText(3), "");
    w->Status().setPanelText(3, "7");
    send("graphic");
    EXPECT_EQ(w->Status().panelText(3), "7");
    send("editor");
    EXPECT_EQ(w->Status().panelText(3), "7");
    send("none");
    EXPECT_EQ(w->Status().panelText(3), "");
}

}  // namespace
}  // namespace vlrtest

#include <QTabBar>

namespace vlrtest {
namespace {

// Saves a picture of the main window with the colour page open, for a person
// to look at.
TEST_F(ShellTest, ScreenshotOfTheMainWindowWithTheColourPicker) {
    auto w = NewMainWindow();
    w->resize(1100, 720);
    w->sidePanel().tabs()->setCurrentIndex(1);
    vlr::ProcessMessages();
    QImage shot = w->grab().toImage();
    EXPECT_TRUE(shot.save("main_window.png"));
    EXPECT_EQ(shot.width(), w->width() * shot.devicePixelRatio());
}

}  // namespace
}  // namespace vlrtest

namespace vlrtest {
namespace {

// The Edit and Search commands carry records that only editor windows take
// and release: with a picture window active nothing is sent to it.
TEST_F(ShellTest, EditAndSearchCommandsGoOnlyToEditorWindows) {
    WritePreferences("[Environment]\nNewEditor=0\n");
    auto w = NewMainWindow();
    AddChild(*w, "TFrmEditor");
    const char* commands[] = {"SelectAll1", "FindNext1", "ShowAll1", "Replace1"};
    auto run = [&] {
        w->UpdateEditorCommands(false);
        w->Gate().setEnabled("FindNext1", true);
        // Ctrl+Z, F3 and the others through the menus they are in.
        w->activateWindow();
        QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(w.get(), Qt::Key_F3);
        for (const char* name : commands) {
            QAction* item = w->action(name);
            QMenu* menu = nullptr;
            for (QObject* o : item->associatedObjects())
                if (auto* candidate = qobject_cast<QMenu*>(o))
                    menu = candidate;
            ASSERT_NE(menu, nullptr) << name;
            menu->popup(QPoint(0, 0));
            ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
            QApplication::processEvents();
        }
    };
    run();
    // The stand-in for an editor window receives them: the way is open.
    const std::size_t toEditor = ChildMessages().size();
    EXPECT_EQ(toEditor, 6u);
    ChildMessages().clear();

    AddChild(*w, "TFrmImageView");
    ASSERT_EQ(w->ActiveChildClass(), "TFrmImageView");
    run();
    EXPECT_TRUE(ChildMessages().empty());
}

}  // namespace
}  // namespace vlrtest
