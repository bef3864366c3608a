#include "project/model/ProjectModel.h"

#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using vlr::ProjectState;

namespace {

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vlr_pm_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        path = (dir / "site.vlr").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& s) { std::ofstream(path, std::ios::binary) << s; }
    std::string read() const {
        std::string s;
        vlr::ReadFileBytes(path, s);
        return s;
    }
    // A project with every field set and non-default switches.
    static void fill(ProjectState& s) {
        s.AllFiles = {"/p/src/a.hts", "/p/src/sub/b.hts"};
        s.SourceDir = "/p/src";
        s.OutputDir = "/p/out";
        s.ImageDir = "/p/img";
        s.SearchDir = "/p/search";
        s.ImgPrefix = "img/";
        s.Switches = {false, true, false, true, false};
        s.ProjectVars.Add("Title", "Home page");
        s.ProjectVars.Add("Empty", "");
    }
    fs::path dir;
    std::string path;
};

TEST_F(ProjectFileTest, SaveRewritesOwnSectionsInOrderAndKeepsOthers) {
    write("[Compiler]\nvars=0\ndb=1\n\n"
          "[files]\n0=/old/a.hts\n5=/old/b.hts\n\n"
          "[build]\ntarget=web\n\n"
          "[directories]\nsrc=/old\n"
          "[variables]\nOld=1\n");
    ProjectState s;
    fill(s);
    ASSERT_TRUE(vlr::WriteProjectFile(s, path));
    EXPECT_EQ(read(),
              "[Compiler]\nvars=0\ndb=1\nscripts=0\nextapps=1\nincludes=0\n\n"
              "[build]\ntarget=web\n\n"
              "[files]\n0=/p/src/a.hts\n1=/p/src/sub/b.hts\n\n"
              "[directories]\nsrc=/p/src\nout=/p/out\nimg=/p/img\nsearch=/p/search\n\n"
              "[other]\nimgprep=img/\n\n"
              "[variables]\nTitle=Home page\nEmpty=\n");
}

TEST_F(ProjectFileTest, NewFileHasSectionsInWriteOrder) {
    ProjectState s;
    s.AllFiles = {"/p/a.hts"};
    s.ProjectVars.Add("V", "1");
    ASSERT_TRUE(vlr::WriteProjectFile(s, path));
    EXPECT_EQ(read(),
              "[files]\n0=/p/a.hts\n\n"
              "[directories]\nsrc=\nout=\nimg=\nsearch=\n\n"
              "[other]\nimgprep=\n\n"
              "[Compiler]\nvars=1\ndb=1\nscripts=1\nextapps=1\nincludes=1\n\n"
              "[variables]\nV=1\n");

    // Without files or variables those sections disappear entirely.
    ProjectState empty;
    ASSERT_TRUE(vlr::WriteProjectFile(empty, path));
    EXPECT_EQ(read(),
              "[other]\nimgprep=\n\n"
              "[Compiler]\nvars=1\ndb=1\nscripts=1\nextapps=1\nincludes=1\n\n"
              "[directories]\nsrc=\nout=\nimg=\nsearch=\n");
}

TEST_F(ProjectFileTest, ReadBackEqualsWhatWasSaved) {
    ProjectState s;
    fill(s);
    ASSERT_TRUE(vlr::WriteProjectFile(s, path));

    ProjectState back;
    back.ProjectModified = true;
    vlr::ReadProjectFile(path, back);
    EXPECT_EQ(back.ProjectFile, path);
    EXPECT_FALSE(back.ProjectModified);
    EXPECT_TRUE(back.IsOpen());
    EXPECT_EQ(back.AllFiles, s.AllFiles);
    EXPECT_EQ(back.FilesCount, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(back.SourceDir, "/p/src");
    EXPECT_EQ(back.OutputDir, "/p/out");
    EXPECT_EQ(back.ImageDir, "/p/img");
    EXPECT_EQ(back.SearchDir, "/p/search");
    EXPECT_EQ(back.ImgPrefix, "img/");
    EXPECT_EQ(back.Switches, s.Switches);
    EXPECT_EQ(back.Variables, (std::vector<std::string>{"Title", "Empty"}));
    ASSERT_EQ(back.ProjectVars.Count(), 2);
    EXPECT_EQ(back.ProjectVars.Items(0)->Value, "Home page");
    EXPECT_EQ(back.ProjectVars.Items(1)->Name, "Empty");
    EXPECT_EQ(back.ProjectVars.Items(1)->Value, "");
}

TEST_F(ProjectFileTest, EachSwitchRoundTripsOnItsOwn) {
    for (int off = 0; off < 5; ++off) {
        ProjectState s;
        bool* flags[] = {&s.Switches.vars, &s.Switches.db, &s.Switches.scripts, &s.Switches.extapps,
                         &s.Switches.includes};
        *flags[off] = false;
        ASSERT_TRUE(vlr::WriteProjectFile(s, path));
        ProjectState back;
        vlr::ReadProjectFile(path, back);
        EXPECT_EQ(back.Switches, s.Switches) << "switch " << off;
    }
}

TEST_F(ProjectFileTest, FilesAreReadByKeyInFileOrderWithoutGapsOrEmpties) {
    write("[files]\n1=/p/b.hts\n0=/p/a.hts\n2=\n3=/p/d.hts\n0=/p/dup.hts\n");
    ProjectState s;
    s.AllFiles = {"/stale.hts"};
    vlr::ReadProjectFile(path, s);
    EXPECT_EQ(s.AllFiles, (std::vector<std::string>{"/p/b.hts", "/p/a.hts", "/p/d.hts"}));
    EXPECT_EQ(s.FilesCount.size(), 5u);

    // Saving numbers them again from "0" without gaps.
    ASSERT_TRUE(vlr::WriteProjectFile(s, path));
    EXPECT_EQ(read().substr(0, 44), "[files]\n0=/p/b.hts\n1=/p/a.hts\n2=/p/d.hts\n\n[d");
}

TEST_F(ProjectFileTest, KeysZeroOneThreeKeepAllThree) {
    write("[files]\n0=/p/a.hts\n1=/p/b.hts\n3=/p/d.hts\n");
    ProjectState s;
    vlr::ReadProjectFile(path, s);
    EXPECT_EQ(s.AllFiles, (std::vector<std::string>{"/p/a.hts", "/p/b.hts", "/p/d.hts"}));
}

TEST_F(ProjectFileTest, MissingFileAndKeysGiveDefaults) {
    ProjectState s;
    fill(s);
    s.Variables = {"Title"};
    vlr::ReadProjectFile((dir / "absent.vlr").string(), s);
    EXPECT_EQ(s.ProjectFile, (dir / "absent.vlr").string());
    EXPECT_TRUE(s.SourceDir.empty() && s.OutputDir.empty() && s.ImageDir.empty() && s.SearchDir.empty() &&
                s.ImgPrefix.empty());
    EXPECT_EQ(s.Switches, vlr::CompilerSwitches{});
    EXPECT_TRUE(s.AllFiles.empty());
    EXPECT_TRUE(s.Variables.empty());
    EXPECT_EQ(s.ProjectVars.Count(), 0);

    write("[directories]\nSRC=/x\n[compiler]\ndb=0\nvars=yes\n");
    vlr::ReadProjectFile(path, s);
    EXPECT_EQ(s.SourceDir, "/x");
    EXPECT_EQ(s.OutputDir, "");
    EXPECT_EQ(s.Switches, (vlr::CompilerSwitches{true, false, true, true, true}));
}

TEST_F(ProjectFileTest, OptionsWriteLeavesFilesAndVariables) {
    write("[files]\n0=/p/a.hts\n\n[directories]\nsrc=/old\n\n[Compiler]\nvars=1\n\n[variables]\nA=1\n");
    ProjectState s;
    s.SourceDir = "/new";
    s.Switches.db = false;
    s.AllFiles = {"/ignored.hts"};
    ASSERT_TRUE(vlr::WriteProjectOptions(s, path));
    EXPECT_EQ(read(),
              "[files]\n0=/p/a.hts\n\n[variables]\nA=1\n\n"
              "[directories]\nsrc=/new\nout=\nimg=\nsearch=\n\n"
              "[other]\nimgprep=\n\n"
              "[Compiler]\nvars=1\ndb=0\nscripts=1\nextapps=1\nincludes=1\n");
}

TEST_F(ProjectFileTest, LineBreaksAreRefusedAndFileUntouched) {
    const std::string before = "[files]\n0=/p/a.hts\n";
    write(before);
    ProjectState s;
    s.ProjectVars.Add("Footer", "line one\n[files]\n0=/etc/passwd");
    std::string error;
    EXPECT_FALSE(vlr::WriteProjectFile(s, path, &error));
    EXPECT_NE(error.find("Footer"), std::string::npos);
    EXPECT_EQ(read(), before);

    ProjectState opts;
    opts.ImgPrefix = "a\rb";
    EXPECT_FALSE(vlr::WriteProjectOptions(opts, path, &error));
    EXPECT_EQ(read(), before);
}

TEST_F(ProjectFileTest, UnwritableFileIsReported) {
    ProjectState s;
    std::string error;
    EXPECT_FALSE(vlr::WriteProjectFile(s, (dir / "missing" / "x.vlr").string(), &error));
    EXPECT_NE(error.find("Cannot write"), std::string::npos);
}

TEST(ProjectStateTest, ClearReturnsToNoProjectButKeepsSwitches) {
    ProjectState s;
    EXPECT_FALSE(s.IsOpen());
    s.ProjectFile = "/p/site.vlr";
    s.ProjectModified = true;
    s.SourceDir = s.OutputDir = s.ImageDir = s.SearchDir = s.ImgPrefix = "x";
    s.AllFiles = {"a"};
    s.Variables = {"v"};
    s.FilesCount = {"0"};
    s.ProjectVars.Add("v", "1");
    s.Switches.db = false;
    s.Clear();
    EXPECT_EQ(s.ProjectFile, "none");
    EXPECT_FALSE(s.ProjectModified);
    EXPECT_TRUE(s.SourceDir.empty() && s.OutputDir.empty() && s.ImageDir.empty() && s.SearchDir.empty() &&
                s.ImgPrefix.empty());
    EXPECT_TRUE(s.AllFiles.empty() && s.Variables.empty() && s.FilesCount.empty());
    EXPECT_EQ(s.ProjectVars.Count(), 0);
    EXPECT_FALSE(s.Switches.db);
}

}  // namespace
