#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vlr_ini_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "preferences.dat").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string contents() const {
        std::string s;
        vlr::ReadFileBytes(path, s);
        return s;
    }
    void write(const std::string& s) { std::ofstream(path, std::ios::binary) << s; }
    fs::path dir;
    std::string path;
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndTheFirstWriteCreatesIt) {
    vlr::IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Environment", "Project", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("EdEnv", "FontSz", 10), 10);
    EXPECT_TRUE(ini.ReadBool("Environment", "NewEditor", true));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(ini.ReadSection("Environment").empty());
    ASSERT_TRUE(ini.WriteString("Main", "Mnu_Anim_Sp", "True"));
    EXPECT_EQ(contents(), "[Main]\nMnu_Anim_Sp=True\n");
}

TEST_F(IniFileTest, NamesAreComparedWithoutLetterCase) {
    write("[environment]\nlowertags=0\n");
    vlr::IniFile ini(path);
    EXPECT_FALSE(ini.ReadBool("Environment", "LowerTags", true));
    ini.WriteBool("ENVIRONMENT", "LOWERTAGS", true);
    // The existing key keeps its spelling; no second key or section appears.
    EXPECT_EQ(contents(), "[environment]\nlowertags=1\n");
}

TEST_F(IniFileTest, IntegerAndBooleanForms) {
    write("[S]\na=12\nb=-7\nc=12abc\nd=\ne=0\nf=5\ng= 3 \n");
    vlr::IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("S", "a", 0), 12);
    EXPECT_EQ(ini.ReadInteger("S", "b", 0), -7);
    EXPECT_EQ(ini.ReadInteger("S", "c", 99), 99);
    EXPECT_EQ(ini.ReadInteger("S", "d", 99), 99);
    EXPECT_EQ(ini.ReadInteger("S", "g", 0), 3);
    EXPECT_FALSE(ini.ReadBool("S", "e", true));
    EXPECT_TRUE(ini.ReadBool("S", "f", false));
    EXPECT_TRUE(ini.ReadBool("S", "c", true));
    EXPECT_FALSE(ini.ReadBool("S", "c", false));
    ini.WriteBool("S", "h", false);
    EXPECT_EQ(ini.ReadString("S", "h", ""), "0");
}

TEST_F(IniFileTest, WritesKeepOtherSectionsKeysCommentsAndOrder) {
    write("; settings\n[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    vlr::IniFile ini(path);
    ini.WriteString("A", "y", "two");
    ini.WriteString("A", "new", "n");
    ini.WriteString("C", "w", "4");
    EXPECT_EQ(contents(), "; settings\n[A]\nx=1\ny=two\nnew=n\n\n[B]\nz=3\n\n[C]\nw=4\n");
    EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"x", "y", "new"}));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(IniFileTest, EraseSectionRemovesOnlyThatSection) {
    write("[files]\n0=a.hts\n1=b.hts\n[directories]\nsrc=/s\n");
    vlr::IniFile ini(path);
    EXPECT_TRUE(ini.SectionExists("FILES"));
    ini.EraseSection("files");
    EXPECT_FALSE(ini.SectionExists("files"));
    EXPECT_EQ(contents(), "[directories]\nsrc=/s\n");
    EXPECT_TRUE(ini.EraseSection("absent"));
}

TEST_F(IniFileTest, QuotedValuesAndCarriageReturnsAreRead) {
    write("[S]\r\nq=\"hello world\"\r\np = spaced \r\n");
    vlr::IniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "q", ""), "hello world");
    EXPECT_EQ(ini.ReadString("S", "p", ""), "spaced");
}

TEST_F(IniFileTest, AtomicWriteKeepsPermissionsAndFollowsLinks) {
    write("[S]\na=1\n");
    ::chmod(path.c_str(), 0600);
    fs::path link = dir / "link.ini";
    fs::create_symlink(path, link);
    vlr::IniFile ini(link.string());
    ASSERT_TRUE(ini.WriteString("S", "a", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(), "[S]\na=2\n");
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // No temporary file is left beside the target.
    int files = 0;
    for (auto& e : fs::directory_iterator(dir)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileAndReportsFalse) {
    write("[S]\na=1\n");
    vlr::IniFile ini((dir / "missing-folder" / "x.ini").string());
    EXPECT_FALSE(ini.WriteString("S", "a", "2"));
    std::string error;
    EXPECT_FALSE(vlr::WriteFileAtomically((dir / "nope" / "f").string(), "x", &error));
    EXPECT_NE(error.find("Cannot create"), std::string::npos);
}

}  // namespace
