// The 27 host functions, called by a plug-in's command in the three
// situations: no child window, an editor window, another kind of child.
#include "PlugInFixture.h"

#include "editor/window/FrmEditor.h"
#include "platform/Record.h"
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "platform/Window.h"
#include "plugins/PlugInHost.h"
#include "project/unit/ProjectUnit.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

#include <dlfcn.h>

#include <cstring>
#include <fstream>

// The exported functions are part of this test program, as of the real one.
extern "C" {
int32_t GetProjName(char* Buffer, int32_t Size);
void NetCon(int32_t State);
int32_t OpenDocument(const char* FileName);
int32_t AddToProject(const char* FileName);
int32_t BuildProject();
int32_t GetTextBufSize();
}

namespace vlrtest {
namespace {

class HostFunctionsTest : public PlugInTest {
protected:
    void SetUp() override {
        PlugInTest::SetUp();
        probeFile = appDir.string() + "/probe.txt";
        ::setenv("VLR_PROBE_OUT", probeFile.c_str(), 1);
        Install("fx_probe", "probe.vlp");
        Open();
    }
    void TearDown() override {
        ::unsetenv("VLR_PROBE_OUT");
        PlugInTest::TearDown();
    }
    std::map<std::string, std::string> Probe() {
        std::filesystem::remove(probeFile);
        ModalCloser closer;  // DispAbout shows the about box
        Item("Plugins1", 0)->trigger();
        vlr::ProcessMessages();
        std::map<std::string, std::string> r;
        std::ifstream in(probeFile, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            const auto eq = line.find('=');
            r[line.substr(0, eq)] = line.substr(eq + 1);
        }
        EXPECT_EQ(closer.seen, 1);
        EXPECT_EQ(closer.title, "About Probe");
        return r;
    }
    int Children() const { return static_cast<int>(w->MdiArea()->subWindowList().size()); }
    std::string probeFile;
};

// What holds in every situation.
void ExpectCommonResults(std::map<std::string, std::string>& r, vlr::TFrmMainVLR& w) {
    EXPECT_EQ(r["StatusText"], "1");
    EXPECT_EQ(r["GetHandle0"], "0");
    EXPECT_EQ(r["GetHandle4"], "0");
    EXPECT_EQ(r["GetHandle1"], std::to_string(w.MainHandle()));
    EXPECT_EQ(r["GetHandle2"], std::to_string(w.ApplicationHandle()));
    EXPECT_EQ(r["GetProjName"], "0:untouched");
    EXPECT_EQ(r["GetVLRType"], "0");
    EXPECT_EQ(r["BuildProject"], "0");
    EXPECT_EQ(r["AddToProject"], "0");
    EXPECT_EQ(r["OpenDocument"], "0");
    EXPECT_EQ(r["DispAbout"], "1");
    EXPECT_EQ(r["CreateEditor"], "1");
    // The program's version text is 1.0.0.<build>; the first integer stays.
    EXPECT_EQ(r["GetBuildNum"].rfind("1:77,1,0,0,", 0), 0u) << r["GetBuildNum"];
    // The gauge: maximum 50, position 7 + 1, reset to 0, then + 2.
    QProgressBar* gauge = w.statusLine().progressBar();
    EXPECT_EQ(gauge->maximum(), 50);
    EXPECT_EQ(gauge->value(), 2);
    // NetCon(2) undid NetCon(1).
    EXPECT_FALSE(w.Status().connectionActive());
    EXPECT_EQ(w.Status().panelText(1), "probe status");
}

TEST_F(HostFunctionsTest, WithNoChildWindow) {
    auto r = Probe();
    EXPECT_EQ(r["EditorAvailable"], "0");
    EXPECT_EQ(r["GetTextBufSize"], "-1");
    EXPECT_EQ(r["GetSelTextBufSize"], "-1");
    EXPECT_EQ(r["GetText3"], "0:untouched");
    EXPECT_EQ(r["GetText0"], "0:untouched");
    EXPECT_EQ(r["GetSelText"], "0:untouched");
    EXPECT_EQ(r["GetCarPos"], "null");
    EXPECT_EQ(r["ReplaceText"], "0");
    EXPECT_EQ(r["InsertText"], "0");
    for (const char* f : {"SetText", "SetSelText", "SetSelStart", "SetSelLength", "GetHandle3"})
        EXPECT_EQ(r[f], "0") << f;
    ExpectCommonResults(r, *w);
    // CreateEditor opened the one window there is now.
    EXPECT_EQ(w->ChildCount("TFrmEditor"), 1);
}

TEST_F(HostFunctionsTest, WithAnotherKindOfChildWindowActive) {
    AddChild(*w, "TFrmGraphic");
    vlr::ProcessMessages();
    ChildMessages().clear();
    auto r = Probe();
    EXPECT_EQ(r["EditorAvailable"], "0");
    EXPECT_EQ(r["GetTextBufSize"], "0");
    EXPECT_EQ(r["GetSelTextBufSize"], "0");
    EXPECT_EQ(r["GetText3"], "1:");
    EXPECT_EQ(r["GetText0"], "1:");
    EXPECT_EQ(r["GetSelText"], "1:");
    EXPECT_EQ(r["GetCarPos"], "null");
    EXPECT_EQ(r["ReplaceText"], "1");
    EXPECT_EQ(r["InsertText"], "1");
    for (const char* f : {"SetText", "SetSelText", "SetSelStart", "SetSelLength", "GetHandle3"})
        EXPECT_EQ(r[f], "0") << f;
    ExpectCommonResults(r, *w);
    // Nothing was sent to the picture window.
    EXPECT_TRUE(ChildMessages().empty());
}

TEST_F(HostFunctionsTest, WithAnEditorWindow) {
    vlr::TFrmEditor* editor = w->Editors().OpenNewEditor();
    ASSERT_NE(editor, nullptr);
    vlr::ProcessMessages();
    editor->memo().setText("Hello world");
    editor->memo().setSelection(6, 11);
    auto r = Probe();
    EXPECT_EQ(r["EditorAvailable"], "1");
    EXPECT_EQ(r["GetTextBufSize"], "11");
    EXPECT_EQ(r["GetSelTextBufSize"], "5");
    EXPECT_EQ(r["GetText3"], "1:Hel");
    EXPECT_EQ(r["GetText0"], "1:");
    EXPECT_EQ(r["GetText20"], "1:Hello world");
    EXPECT_EQ(r["GetSelText"], "1:world");
    EXPECT_EQ(r["GetCarPos"], "1,12");
    EXPECT_EQ(r["GetHandle3"], std::to_string(editor->handle()));
    // The text goes right after the selection, which stays in place.
    EXPECT_EQ(r["ReplaceText"], "1");
    EXPECT_EQ(r["AfterReplace"], "Hello world<R>");
    EXPECT_EQ(r["SetSelStart"], "1");
    EXPECT_EQ(r["SetSelLength"], "1");
    EXPECT_EQ(r["SetSelText"], "1");
    EXPECT_EQ(r["AfterSetSel"], "Howdy world<R>");
    EXPECT_EQ(r["InsertText"], "1");
    EXPECT_EQ(r["AfterInsert"], "Howdy<I> world<R>");
    EXPECT_EQ(r["SetText"], "1");
    EXPECT_EQ(r["AfterSetText"], "final");
    ExpectCommonResults(r, *w);
    EXPECT_EQ(w->ChildCount("TFrmEditor"), 2);
}

TEST_F(HostFunctionsTest, ProjectFunctionsWorkOnTheOpenProjectWithoutMessages) {
    auto& project = dynamic_cast<vlr::TProjectUnit&>(w->Project());
    project.SetProjectState("/home/user/sites/alpha/site.vlr", false);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(GetProjName(buffer, 10), 1);
    EXPECT_STREQ(buffer, "/home/use");
    EXPECT_EQ(GetProjName(buffer, 0), 0);  // no room even for the zero byte

    EXPECT_EQ(AddToProject("/home/user/sites/alpha/page.hts"), 1);
    EXPECT_TRUE(project.ProjectModified());
    // A second time: refused without a message box.
    prompter->Clear();
    EXPECT_EQ(AddToProject("/home/user/sites/alpha/page.hts"), 0);
    EXPECT_EQ(project.AllFiles().size(), 1u);
    EXPECT_TRUE(prompter->prompts().empty());
}

TEST_F(HostFunctionsTest, BuildProjectIsTheBuildAllCommand) {
    auto& project = dynamic_cast<vlr::TProjectUnit&>(w->Project());
    QAction* build = w->Commands().action("BuildAll1");
    int builds = 0;
    QObject::connect(build, &QAction::triggered, [&] { ++builds; });
    // No project: nothing is built.
    EXPECT_EQ(BuildProject(), 0);
    project.SetProjectState("/tmp/no_such_dir/site.vlr", false);
    // A program without the build feature, or with Build All disabled, cannot build.
    if (!w->Gate().available(build)) {
        EXPECT_EQ(BuildProject(), 0);
        w->Gate().makeAvailable(vlr::CommandGroup::Build);
    }
    build->setEnabled(false);
    EXPECT_EQ(BuildProject(), 0);
    EXPECT_EQ(builds, 0);
    build->setEnabled(true);
    EXPECT_EQ(BuildProject(), 1);
    EXPECT_EQ(builds, 1);
}

TEST_F(HostFunctionsTest, OpenDocumentOpensAnExistingFileByItsType) {
    const std::string page = appDir.string() + "/page.htm";
    std::ofstream(page) << "<p>x</p>";
    EXPECT_EQ(OpenDocument((appDir.string() + "/missing.htm").c_str()), 0);
    EXPECT_EQ(Children(), 0);
    EXPECT_EQ(OpenDocument(page.c_str()), 1);
    vlr::ProcessMessages();
    EXPECT_EQ(w->ChildCount("TFrmEditor"), 1);
}

TEST_F(HostFunctionsTest, NetConShowsAndClearsTheConnection) {
    NetCon(1);
    EXPECT_TRUE(w->Status().connectionActive());
    EXPECT_EQ(w->Status().panelText(1), "Internet Connection Active...");
    NetCon(2);
    EXPECT_FALSE(w->Status().connectionActive());
    EXPECT_EQ(w->Status().panelText(1), "");
}

TEST_F(HostFunctionsTest, OnlyTheHostFunctionsAreExportedAndWithoutAHostTheyFail) {
    void* self = ::dlopen(nullptr, RTLD_NOW);
    EXPECT_NE(::dlsym(self, "GetText"), nullptr);
    EXPECT_NE(::dlsym(self, "GetVLRType"), nullptr);
    // Names of the program's own code are not visible to plug-ins.
    EXPECT_EQ(::dlsym(self, "_ZN3vlr10PlugInHost7CurrentEv"), nullptr);
    w.reset();
    EXPECT_EQ(GetTextBufSize(), -1);
}

TEST(BuildNumber, FourDecimalPartsAreNeeded) {
    TBuildNumber n{5, 0, 0, 0, 0};
    EXPECT_TRUE(vlr::ParseBuildNumber("1.0.0.1190", n));
    EXPECT_EQ(n.BuildReserved, 5);
    EXPECT_EQ(n.BuildMajor, 1);
    EXPECT_EQ(n.BuildMinor, 0);
    EXPECT_EQ(n.BuildRelease, 0);
    EXPECT_EQ(n.BuildBuild, 1190);
    TBuildNumber m{9, 9, 9, 9, 9};
    EXPECT_FALSE(vlr::ParseBuildNumber("1.0.0", m));
    EXPECT_FALSE(vlr::ParseBuildNumber("1.0.x.5", m));
    EXPECT_FALSE(vlr::ParseBuildNumber("", m));
    EXPECT_EQ(m.BuildBuild, 9);
    EXPECT_TRUE(vlr::ParseBuildNumber("2.3.4.5.6", m));
    EXPECT_EQ(m.BuildBuild, 5);
}

}  // namespace
}  // namespace vlrtest
