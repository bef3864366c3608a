// The 27 host functions, called by a plug-in's command in the three
// situations: no child window, an editor window, another kind of child.
#include "PlugInFixture.h"

#include "editor/window/FrmEditor.h"
#include "platform/Record.h"
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "platform/Window.h"
#include "plugins/PlugInHost.h"
#include "plugins/PlugInText.h"
#include "project/unit/ProjectUnit.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

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

TEST_F(HostFunctionsTest, BuildProjectBuildsTheOpenProjectEvenWhileTheButtonIsDisabled) {
    // No project: nothing is built.
    EXPECT_EQ(BuildProject(), 0);
    // A project kept as the example site keeps it: relative folders and files.
    const std::filesystem::path site = appDir / "site";
    std::filesystem::create_directories(site / "src");
    std::ofstream(site / "src" / "index.hts") << "<p>Built by a plug-in</p>\n";
    std::ofstream(site / "site.vlr") << "[files]\n0=src/index.hts\n[directories]\nsrc=src\nout=public\n"
                                        "img=public/images\n";
    w->Project().ParseToOpen((site / "site.vlr").string());
    vlr::ProcessMessages();
    ASSERT_EQ(w->Project().ProjectFile(), (site / "site.vlr").string());
    // The button cannot be clicked now; a plug-in asking for a build still gets one.
    QAction* build = w->Commands().action("BuildAll1");
    build->setEnabled(false);
    EXPECT_EQ(BuildProject(), 1);
    vlr::ProcessMessages();
    std::ifstream page(site / "public" / "index.html");
    std::string text((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Built by a plug-in"), std::string::npos) << text;
}

TEST_F(HostFunctionsTest, OpenDocumentOpensAnExistingFileByItsType) {
    const std::string page = appDir.string() + "/page.htm";
    std::ofstream(page) << "<p>x</p>";
    EXPECT_EQ(OpenDocument((appDir.string() + "/missing.htm").c_str()), 0);
    // A folder is no document.
    std::filesystem::create_directories(appDir / "folder.htm");
    EXPECT_EQ(OpenDocument((appDir / "folder.htm").c_str()), 0);
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

TEST(PlugInText, Utf8WithLatin1ForBytesThatAreNotUtf8) {
    EXPECT_EQ(vlr::PlugInString("plain"), QStringLiteral("plain"));
    EXPECT_EQ(vlr::PlugInString("\xE2\x82\xAC \xF0\x9F\x99\x82"), QString::fromUtf8("\u20ac \U0001F642"));
    // A cut sequence, an overlong form and a surrogate are read byte by byte.
    EXPECT_EQ(vlr::PlugInString("\xE2\x82"), QString::fromUtf8("\u00e2\u0082"));
    EXPECT_EQ(vlr::PlugInString("\xC0\xAF"), QString::fromUtf8("\u00c0\u00af"));
    EXPECT_EQ(vlr::PlugInString("\xED\xA0\x80"), QString::fromUtf8("\u00ed\u00a0\u0080"));
    EXPECT_EQ(vlr::PlugInCaption("R&D"), QStringLiteral("R&&D"));
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
