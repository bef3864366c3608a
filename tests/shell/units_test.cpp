// The frame and its units: the message table, the guard around every command
// and message, start-up that survives a failing step, the side panel's one
// state, the active child, and reopening the last project.
#include "ShellFixture.h"

#include "app/commands/MainCommands.h"
#include "app/shell/SidePanel.h"
#include "app/shell/Splash.h"
#include "appearance/palette/ColorPicker.h"
#include "platform/IniFile.h"
#include "platform/Record.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSplitter>
#include <QToolButton>

#include <filesystem>
#include <fstream>

namespace vlrtest {
namespace {

namespace fs = std::filesystem;

class ClaimingUnit : public vlr::FeatureUnit {
public:
    ClaimingUnit(const char* name, std::vector<unsigned> msgs) : name_(name), msgs_(std::move(msgs)) {}
    const char* UnitName() const override { return name_; }
    std::vector<unsigned> Messages() const override { return msgs_; }

private:
    const char* name_;
    std::vector<unsigned> msgs_;
};

TEST(MessageDispatcher, ANumberClaimedTwiceIsAStartupErrorNamingBothUnits) {
    vlr::MessageDispatcher d;
    ClaimingUnit a("project", {3057, 3058});
    ClaimingUnit b("plug-in", {3100, 3058});
    d.Register(a);
    try {
        d.Register(b);
        FAIL() << "no error for a duplicate";
    } catch (const vlr::EDuplicateMessage& e) {
        EXPECT_STREQ(e.what(), "Message 3058 is claimed by both the project and the plug-in unit");
    }
    EXPECT_EQ(d.UnitFor(3057), &a);
    EXPECT_EQ(d.UnitFor(4000), nullptr);
}

TEST_F(ShellTest, EachMessageReachesTheUnitThatClaimedIt) {
    auto w = NewMainWindow();
    const vlr::FeatureUnit* project = &w->projectUnit();
    const vlr::FeatureUnit* editors = &w->editorUnit();
    for (unsigned msg : {2322u, 3031u, 3039u, 3041u, 3057u, 3058u, 3061u, 3085u})
        EXPECT_EQ(w->dispatcher().UnitFor(msg), project) << msg;
    for (unsigned msg : {2112u, 3024u, 3056u, 3063u, 3065u, 2924u})
        EXPECT_EQ(w->dispatcher().UnitFor(msg), editors) << msg;
    // The frame's own messages are not in the table.
    EXPECT_EQ(w->dispatcher().UnitFor(3082), nullptr);
}

TEST_F(ShellTest, ACommandThatThrowsIsReportedUnderItsOwnHandlerName) {
    auto w = NewMainWindow();
    const std::pair<const char*, const char*> commands[] = {
        {"HTMLToolbar1", "HTMLToolbar1Click"}, {"TextToolbar2", "TextToolbar2Click"},
        {"Smart1", "Smart1Click"},             {"Unfold1", "Unfold1Click"},
        {"Developers1", "Developers1Click"},   {"Feedback1", "Feedback1Click"},
        {"Open1", "Open1Click"},               {"Undo1", "Undo1Click"},
    };
    for (const auto& [command, method] : commands) {
        Reports().clear();
        vlr::TFrmMainVLR::SetMethodProbe([m = std::string(method)](const std::string& method) {
            if (method == m)
                throw std::runtime_error("command failed");
        });
        QAction* a = w->action(command);
        ASSERT_NE(a, nullptr) << command;
        a->setEnabled(true);
        EXPECT_NO_THROW(a->trigger());
        ASSERT_EQ(Reports().size(), 1u) << command;
        EXPECT_EQ(Reports()[0].method, std::string("TFrmMainVLR.") + method);
        EXPECT_EQ(Reports()[0].message, "command failed");
    }
}

TEST_F(ShellTest, ASentMessageThatThrowsIsReportedAndAnswersZero) {
    auto w = NewMainWindow();
    vlr::TFrmMainVLR::SetMethodProbe([](const std::string& method) {
        if (method == "FOpen")
            throw std::runtime_error("open failed");
    });
    vlr::RecordPtr r = vlr::MakeRecord((appDir / "x.hts").string());
    vlr::LResult result = 1;
    EXPECT_NO_THROW(result = vlr::SendMessage(w->handle(), 3057, 0, reinterpret_cast<vlr::LParam>(r.release())));
    EXPECT_EQ(result, 0);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].method, "TFrmMainVLR.FOpen");
}

TEST_F(ShellTest, AFailingArgumentDoesNotStopTheStartup) {
    WritePreferences("[Environment]\nNewEditor=0\n");
    const std::string bad = (appDir / "bad.hts").string();
    const std::string good = (appDir / "good.hts").string();
    std::ofstream(bad) << "<p>bad</p>";
    std::ofstream(good) << "<p>good</p>";
    int parses = 0;
    vlr::TFrmMainVLR::SetMethodProbe([&parses](const std::string& method) {
        if (method == "ParseToOpen" && ++parses == 1)
            throw std::runtime_error("cannot read bad.hts");
    });
    QPointer<vlr::TFrmSplash> splash = new vlr::TFrmSplash;
    splash->show();
    auto w = std::make_unique<vlr::TFrmMainVLR>(splash, QStringList{QString::fromStdString(bad),
                                                                    QString::fromStdString(good)});
    w->Libraries().entry.ExceptCenter = RecordingExceptCenter;
    w->show();
    vlr::ProcessMessages();
    vlr::TFrmMainVLR::SetMethodProbe(nullptr);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].message, "cannot read bad.hts");
    EXPECT_EQ(w->ChildCount("TFrmEditor"), 1);
    EXPECT_TRUE(!splash || !splash->isVisible());
    bool anyNonBlack = false;
    for (auto c : w->colorPicker()->PaletteColors())
        anyNonBlack = anyNonBlack || c != 0;
    EXPECT_TRUE(anyNonBlack);
    delete splash.data();
}

TEST_F(ShellTest, TheSidePanelAndItsSplitterShareOneState) {
    auto w = NewMainWindow();
    auto* splitter = w->findChild<QSplitter*>("RxSplitter1");
    ASSERT_NE(splitter, nullptr);
    auto shown = [&] { return std::make_pair(!w->sidePanel().isHidden(), !splitter->handle(1)->isHidden()); };
    EXPECT_EQ(shown(), std::make_pair(true, true));
    w->action("FileList1")->trigger();
    EXPECT_EQ(shown(), std::make_pair(false, false));
    w->action("FileList1")->trigger();
    EXPECT_EQ(shown(), std::make_pair(true, true));
    w->sidePanel().closeButton()->click();
    EXPECT_EQ(shown(), std::make_pair(false, false));
    w->action("FileList1")->trigger();
    EXPECT_EQ(shown(), std::make_pair(true, true));
    w.reset();
    // Stored keys that disagree: the panel's own decides.
    WritePreferences("[Main]\nPanel1_Visible=0\nRxSplitter1_Visible=1\n");
    w = NewMainWindow();
    splitter = w->findChild<QSplitter*>("RxSplitter1");
    EXPECT_EQ(shown(), std::make_pair(false, false));
}

TEST_F(ShellTest, TheActiveChildIsTheAreasCurrentOneWhileAnotherWindowHasTheFocus) {
    auto w = NewMainWindow();
    QWidget* first = AddChild(*w, "TFrmEditor");
    QWidget* second = AddChild(*w, "TFrmEditor");
    w->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(second->parentWidget()));
    const vlr::Handle secondHandle = second->property("vlrHandle").value<vlr::Handle>();
    EXPECT_EQ(w->ActiveChildHandle(), secondHandle);
    // Another top-level window takes the focus (a dialog, another program).
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    other.activateWindow();
    vlr::ProcessMessages();
    EXPECT_EQ(w->ActiveChildHandle(), secondHandle);
    EXPECT_NE(w->ActiveChildHandle(), first->property("vlrHandle").value<vlr::Handle>());
}

TEST_F(ShellTest, ARestartReopensTheProjectThatWasOpen) {
    const std::string project = (appDir / "site.vlr").string();
    std::ofstream(project) << "[directories]\nsrc=" << appDir.string() << "\n";
    WritePreferences("[Environment]\nNewEditor=0\nLastProject=1\n");
    {
        auto w = NewMainWindow();
        w->projectUnit().ParseToOpen(project);
        ASSERT_EQ(w->projectUnit().ProjectFile(), project);
        EXPECT_TRUE(w->close());
    }
    EXPECT_EQ(vlr::IniFile((appDir / "preferences.dat").string()).ReadString("Environment", "Project", ""), project);
    {
        auto w = NewMainWindow();
        EXPECT_EQ(w->projectUnit().ProjectFile(), project);
        // Closed by the user: not reopened at the next start.
        w->projectUnit().CloseProjectClick();
        EXPECT_TRUE(w->close());
    }
    auto w = NewMainWindow();
    EXPECT_EQ(w->projectUnit().ProjectFile(), "none");
}

}  // namespace
}  // namespace vlrtest
