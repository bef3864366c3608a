// ProcessProject of the core module: the site build as the program calls it,
// with its progress and result arriving as messages 3058-3061.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "platform/Record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace vlrtest;
namespace fs = std::filesystem;

namespace {

// A main window that records the build messages and releases their records.
class BuildWatcher : public vlr::MessageHandler {
public:
    BuildWatcher() : handle_(vlr::RegisterWindow(this, "TFrmMainVLR")) {}
    ~BuildWatcher() override { vlr::UnregisterWindow(handle_); }
    vlr::Handle handle() const { return handle_; }

    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        std::string line = std::to_string(msg);
        if (msg == 3058 || msg == 3061) {
            vlr::RecordPtr r = vlr::AdoptRecord(lParam);
            line += " " + vlr::FirstText(r);
        }
        messages.push_back(line);
        return 0;
    }
    std::vector<std::string> messages;

private:
    vlr::Handle handle_;
};

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct CoreBuild : ::testing::Test {
    TempAppDir appDir;
    fs::path root = fs::path(appDir.path()) / "site";
    std::string project = (root / "site.vlr").string();
    ProcessProjectFn processProject = Entry<ProcessProjectFn>("vlrcore", "ProcessProject");

    void SetUp() override {
        App();
        Write(project, "[files]\n0=" + (root / "src/a.hts").string() + "\n1=" + (root / "src/sub/b.hts").string() +
                           "\n[directories]\nsrc=" + (root / "src").string() + "\nout=" + (root / "out").string() +
                           "\n[variables]\nName=Core\n");
        Write(root / "src/a.hts", "a <%Name%> <%VLRRootDir%>");
        Write(root / "src/sub/b.hts", "b <&../part.inc&>");
        Write(root / "src/part.inc", "part");
    }
};

TEST_F(CoreBuild, WholeProjectReportsEveryStepAndSucceeds) {
    BuildWatcher main;
    EXPECT_EQ(processProject(project.c_str(), "", main.handle(), 0, 0), 1);
    ASSERT_EQ(main.messages.size(), 7u);
    EXPECT_EQ(main.messages[0], "3058 2");
    EXPECT_EQ(main.messages[1], "3061 Built a.html");
    EXPECT_EQ(main.messages[2], "3059");
    EXPECT_EQ(main.messages[3], "3061 Built sub/b.html");
    EXPECT_EQ(main.messages[4], "3059");
    EXPECT_EQ(main.messages[5].rfind("3061 Built 2 pages in ", 0), 0u) << main.messages[5];
    EXPECT_EQ(main.messages[6], "3060");
    // The program folder is the one the program runs from.
    EXPECT_EQ(Read(root / "out/a.html"), "a Core " + appDir.path());
    EXPECT_EQ(Read(root / "out/sub/b.html"), "b part");

    main.messages.clear();
    EXPECT_EQ(processProject(project.c_str(), "", main.handle(), 0, 0), 1);
    EXPECT_EQ(main.messages[5], "3061 0 pages built, 2 up to date");
}

TEST_F(CoreBuild, FailureReturnsZeroWithTheErrorAsLastStatus) {
    BuildWatcher main;
    Write(root / "src/a.hts", "x\n<&nothing.inc&>");
    EXPECT_EQ(processProject(project.c_str(), "", main.handle(), 0, 0), 0);
    EXPECT_EQ(main.messages.end()[-2], "3061 a.hts:2: include file \"nothing.inc\" not found");
    EXPECT_EQ(main.messages.back(), "3060");
    EXPECT_FALSE(fs::exists(root / "out/a.html"));

    main.messages.clear();
    EXPECT_EQ(processProject("/no/such/site.vlr", "", main.handle(), 0, 0), 0);
    EXPECT_EQ(main.messages.front(), "3058 0");
}

TEST_F(CoreBuild, SingleFileWithTheFlagWritesThePreviewBesideItsSource) {
    BuildWatcher main;
    const fs::path preview = root / "out/sub/~42.hts";
    Write(preview, "<&../part.inc&>!");
    EXPECT_EQ(processProject(project.c_str(), preview.c_str(), main.handle(), 0, -1), 1);
    EXPECT_EQ(Read(root / "out/sub/~42.htm"), "part!");
    EXPECT_EQ(main.messages.front(), "3058 1");

    // Without the flag the one file goes to its output place; no window is fine.
    EXPECT_EQ(processProject(project.c_str(), (root / "src/sub/b.hts").c_str(), 0, 0, 0), 1);
    EXPECT_EQ(Read(root / "out/sub/b.html"), "b part");
}

}  // namespace
