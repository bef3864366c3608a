#include "platform/IniFile.h"
#include "project/model/OptionsExchange.h"
#include "project/model/ProjectModel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using vlr::ProjectState;

namespace {

class ProjectSaveSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vlr_pss_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "site.vlr").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::string read(const std::string& p) {
        std::string s;
        vlr::ReadFileBytes(p, s);
        return s;
    }
    // A project of `files` source files and `vars` variables; `tag` makes the
    // names differ between two versions of the same project.
    static void fill(ProjectState& s, int files, int vars, const std::string& tag) {
        s.SourceDir = "/site/src";
        s.OutputDir = "/site/out";
        s.ImageDir = "/site/img";
        s.ImgPrefix = "img/";
        for (int i = 0; i < files; ++i)
            s.AllFiles.push_back("/site/src/" + tag + "/page" + std::to_string(i) + ".hts");
        for (int i = 0; i < vars; ++i)
            s.ProjectVars.Add("Var" + std::to_string(i), tag + " value " + std::to_string(i));
    }
    // The bytes a save of `s` produces over a file holding `base`.
    std::string savedBytes(const ProjectState& s, const std::string& base) const {
        std::string p = (dir / "expected.vlr").string();
        std::ofstream(p, std::ios::binary) << base;
        EXPECT_TRUE(vlr::WriteProjectFile(s, p));
        std::string bytes = read(p);
        fs::remove(p);
        return bytes;
    }
    fs::path dir;
    std::string path;
};

TEST_F(ProjectSaveSafetyTest, OpeningAProjectReadsItsFileOnce) {
    ProjectState s;
    fill(s, 2000, 200, "a");
    ASSERT_TRUE(vlr::WriteProjectFile(s, path));
    ProjectState back;
    std::size_t before = vlr::IniFileReadCount();
    vlr::ReadProjectFile(path, back);
    EXPECT_EQ(vlr::IniFileReadCount() - before, 1u);
    EXPECT_EQ(back.AllFiles, s.AllFiles);
    ASSERT_EQ(back.ProjectVars.Count(), 200);
    EXPECT_EQ(back.ProjectVars.Items(199)->Value, "a value 199");

    // A save reads the old file once (to keep foreign sections) and writes once.
    before = vlr::IniFileReadCount();
    ASSERT_TRUE(vlr::WriteProjectOptions(back, path));
    ASSERT_TRUE(vlr::WriteProjectFile(back, path));
    EXPECT_EQ(vlr::IniFileReadCount() - before, 2u);
}

// The disk fills up while the new project file is written: the save reports
// the failure and the old file, with its file list, is still there whole.
TEST_F(ProjectSaveSafetyTest, DiskFullDuringSaveKeepsTheOldProject) {
    ProjectState old500, new520;
    fill(old500, 500, 20, "old");
    fill(new520, 520, 20, "new");
    ASSERT_TRUE(vlr::WriteProjectFile(old500, path));
    const std::string old = read(path);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{static_cast<rlim_t>(old.size() + 100), static_cast<rlim_t>(old.size() + 100)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        bool saved = vlr::WriteProjectFile(new520, path, &error);
        ::_exit(!saved && error.find("Cannot write the project file") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not report the failed write";
    EXPECT_TRUE(read(path) == old) << "the old project file was changed";
}

// A process saving a large project again and again is killed at random
// moments; every time the project file is exactly the old or the new text.
TEST_F(ProjectSaveSafetyTest, KilledDuringSaveLeavesTheOldOrTheNewFile) {
    const std::string foreign = "[build]\ntarget=web\n\n";
    ProjectState a, b;
    fill(a, 3000, 200, "first");
    fill(b, 3100, 150, "second");
    // The first save moves the project's own sections behind the foreign one;
    // from then on saves of a and b alternate between two fixed texts.
    const std::string bytesB = savedBytes(b, savedBytes(a, foreign));
    const std::string bytesA = savedBytes(a, bytesB);
    ASSERT_TRUE(savedBytes(b, bytesA) == bytesB);
    ASSERT_NE(bytesA.find("[build]\ntarget=web\n"), std::string::npos);

    // How long one save takes here, to spread the kills over whole saves.
    std::ofstream(path, std::ios::binary) << bytesA;
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(vlr::WriteProjectFile(b, path));
    ASSERT_TRUE(vlr::WriteProjectFile(a, path));
    auto saveMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                          std::chrono::steady_clock::now() - start).count() / 2 + 1;

    std::mt19937 rng(4242);
    int sawNew = 0;
    for (int round = 0; round < 30; ++round) {
        std::string current = read(path);
        ASSERT_TRUE(current == bytesA || current == bytesB);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            bool first = true;
            for (bool toB = current == bytesA;; toB = !toB) {
                if (!vlr::WriteProjectFile(toB ? b : a, path))
                    ::_exit(3);
                if (first) {
                    first = false;
                    char byte = 1;
                    if (::write(ready[1], &byte, 1) != 1)
                        ::_exit(4);
                }
            }
        }
        ::close(ready[1]);
        // After the first finished save, the next one is in progress; kill it
        // somewhere within the next two saves.
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % (2 * saveMicros)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended on its own, status " << status;

        std::string after = read(path);
        ASSERT_TRUE(after == bytesA || after == bytesB) << "round " << round << ": a mixed file of "
                                                        << after.size() << " bytes";
        ProjectState back;
        vlr::ReadProjectFile(path, back);
        EXPECT_EQ(back.AllFiles, after == bytesA ? a.AllFiles : b.AllFiles);
        sawNew += after != current;
    }
    EXPECT_GT(sawNew, 0) << "no save ever completed before a kill";
}

TEST_F(ProjectSaveSafetyTest, OptionsExchangeIsReplacedWhole) {
    const std::string exchange = vlr::OptionsExchangePath((dir / "").string());
    EXPECT_EQ(exchange, (dir / "~tmppref.ini").string());
    std::ofstream(exchange, std::ios::binary) << "[dirs]\nimg=/stale\nextra=1\n[other]\nk=v\n";
    ProjectState s;
    s.SourceDir = "/p/src";
    s.ImgPrefix = "pre_";
    s.Switches.scripts = false;
    ASSERT_TRUE(vlr::WriteOptionsExchange(s, exchange));
    EXPECT_EQ(read(exchange), "[dirs]\nimg=\nsrc=/p/src\nout=\nimg_prep=pre_\n\n"
                              "[compiler]\nvars=1\ndb=1\nscripts=0\next=1\ninc=1\n");

    ProjectState back;
    back.SearchDir = "/kept";
    std::size_t before = vlr::IniFileReadCount();
    vlr::ReadOptionsExchange(exchange, back);
    EXPECT_EQ(vlr::IniFileReadCount() - before, 1u);
    EXPECT_EQ(back.SourceDir, "/p/src");
    EXPECT_EQ(back.ImgPrefix, "pre_");
    EXPECT_EQ(back.SearchDir, "/kept");
    EXPECT_EQ(back.Switches, (vlr::CompilerSwitches{true, true, false, true, true}));

    std::string error;
    EXPECT_FALSE(vlr::WriteOptionsExchange(s, (dir / "missing" / "~tmppref.ini").string(), &error));
    EXPECT_NE(error.find("Cannot write"), std::string::npos);
}

}  // namespace
