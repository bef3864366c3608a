// A project file that keeps its paths relative to its folder: read as full
// paths, written back in the form each had, also through Save As into
// another folder and through the options exchange file.
#include "project/model/OptionsExchange.h"
#include "project/model/ProjectModel.h"

#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using vlr::ProjectState;

namespace {

class RelativeProjectFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = (fs::temp_directory_path() / ("vlr_rel_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                  .string();
        fs::create_directories(dir + "/site");
        path = dir + "/site/site.vlr";
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& file, const std::string& s) { std::ofstream(file, std::ios::binary) << s; }
    std::string read(const std::string& file) const {
        std::string s;
        vlr::ReadFileBytes(file, s);
        return s;
    }
    std::string dir, path;
};

TEST_F(RelativeProjectFile, TheExampleSiteIsReadAsFullPathsAndWrittenBackInItsOwnForm) {
    std::string original;
    ASSERT_TRUE(vlr::ReadFileBytes(VELORA_EXAMPLE_SITE "/site.vlr", original));
    write(path, original);
    ProjectState s;
    vlr::ReadProjectFile(path, s);
    const std::string site = dir + "/site";
    EXPECT_EQ(s.SourceDir, site + "/src");
    EXPECT_EQ(s.OutputDir, site + "/public");
    EXPECT_EQ(s.ImageDir, site + "/public/images");
    EXPECT_EQ(s.SearchDir, "");
    ASSERT_EQ(s.AllFiles.size(), 4u);
    EXPECT_EQ(s.AllFiles[2], site + "/src/blog/index.hts");

    ASSERT_TRUE(vlr::WriteProjectFile(s, path));
    write(dir + "/original.vlr", original);
    const vlr::IniFile before(dir + "/original.vlr"), after(path);
    for (const char* section : {"files", "directories", "other", "Compiler", "variables"}) {
        ASSERT_EQ(after.ReadSection(section), before.ReadSection(section)) << section;
        for (const std::string& key : before.ReadSection(section))
            EXPECT_EQ(after.ReadString(section, key, "?"), before.ReadString(section, key, "!")) << key;
    }
}

TEST_F(RelativeProjectFile, EachPathKeepsItsFormAndAddedFilesFollowTheProject) {
    write(path, "[files]\n0=src/a.hts\n1=" + dir + "/shared/b.hts\n2=./src/../src/c.hts\n"
                "[directories]\nsrc=src\nout=" + dir + "/www\nimg=public/images/\n");
    ProjectState s;
    vlr::ReadProjectFile(path, s);
    EXPECT_EQ(s.AllFiles[2], dir + "/site/src/c.hts");
    EXPECT_TRUE(vlr::HasProjectFile(s, dir + "/site/src/./a.hts"));
    EXPECT_FALSE(vlr::HasProjectFile(s, dir + "/site/src/d.hts"));

    // Inside the project folder a new file is relative; outside it stays full.
    vlr::AppendProjectFile(s, dir + "/site/src/blog/new.hts");
    vlr::AppendProjectFile(s, dir + "/elsewhere/x.hts");
    ASSERT_TRUE(vlr::WriteProjectFile(s, path));
    vlr::IniFile ini(path);
    EXPECT_EQ(ini.ReadString("files", "0", ""), "src/a.hts");
    EXPECT_EQ(ini.ReadString("files", "1", ""), dir + "/shared/b.hts");
    EXPECT_EQ(ini.ReadString("files", "2", ""), "src/c.hts");
    EXPECT_EQ(ini.ReadString("files", "3", ""), "src/blog/new.hts");
    EXPECT_EQ(ini.ReadString("files", "4", ""), dir + "/elsewhere/x.hts");
    EXPECT_EQ(ini.ReadString("directories", "src", ""), "src");
    EXPECT_EQ(ini.ReadString("directories", "out", ""), dir + "/www");
    EXPECT_EQ(ini.ReadString("directories", "img", ""), "public/images");

    // Saved as a project in another folder, relative entries are written from
    // there and still name the same files.
    const std::string copy = dir + "/copy/site.vlr";
    fs::create_directories(dir + "/copy");
    ASSERT_TRUE(vlr::WriteProjectFile(s, copy));
    EXPECT_EQ(vlr::IniFile(copy).ReadString("files", "0", ""), "../site/src/a.hts");
    EXPECT_EQ(vlr::IniFile(copy).ReadString("directories", "src", ""), "../site/src");
    ProjectState back;
    vlr::ReadProjectFile(copy, back);
    EXPECT_EQ(back.AllFiles, s.AllFiles);
    EXPECT_EQ(back.SourceDir, s.SourceDir);
    EXPECT_EQ(back.OutputDir, s.OutputDir);

    // A project whose source folder is a full path adds full paths.
    write(path, "[directories]\nsrc=" + dir + "/site/src\n");
    ProjectState full;
    vlr::ReadProjectFile(path, full);
    vlr::AppendProjectFile(full, dir + "/site/src/a.hts");
    ASSERT_TRUE(vlr::WriteProjectFile(full, path));
    EXPECT_EQ(vlr::IniFile(path).ReadString("files", "0", ""), dir + "/site/src/a.hts");
}

TEST_F(RelativeProjectFile, TheOptionsExchangeShowsTheStoredFormsAndKeepsTheFormTheUserGave) {
    write(path, "[directories]\nsrc=src\nout=public\nimg=" + dir + "/pics\n");
    ProjectState s;
    vlr::ReadProjectFile(path, s);
    const std::string exchange = dir + "/~tmppref.ini";
    ASSERT_TRUE(vlr::WriteOptionsExchange(s, exchange));
    vlr::IniFile pref(exchange);
    EXPECT_EQ(pref.ReadString("dirs", "src", ""), "src");
    EXPECT_EQ(pref.ReadString("dirs", "out", ""), "public");
    EXPECT_EQ(pref.ReadString("dirs", "img", ""), dir + "/pics");

    ASSERT_TRUE(pref.WriteString("dirs", "out", "dist/"));
    ASSERT_TRUE(pref.WriteString("dirs", "src", dir + "/site/pages"));
    vlr::ReadOptionsExchange(exchange, s);
    EXPECT_EQ(s.OutputDir, dir + "/site/dist");
    EXPECT_EQ(s.SourceDir, dir + "/site/pages");
    ASSERT_TRUE(vlr::WriteProjectOptions(s, path));
    vlr::IniFile ini(path);
    EXPECT_EQ(ini.ReadString("directories", "out", ""), "dist");
    EXPECT_EQ(ini.ReadString("directories", "src", ""), dir + "/site/pages");
    EXPECT_EQ(ini.ReadString("directories", "img", ""), dir + "/pics");
}

}  // namespace
