// Whole-file saves keep what the file is: its mode, owner and group, its hard
// links; a read-only file is refused; the umask is read, never changed. And
// the private temporary folder that exchange files live in.
#include "platform/PrivateTempDir.h"
#include "platform/IniFile.h"
#include "platform/System.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class AtomicWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vlr_atomic_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::string read(const fs::path& p) {
        std::string s;
        vlr::ReadFileBytes(p.string(), s);
        return s;
    }
    static void write(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }
    static struct stat info(const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st;
    }
    int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }
    fs::path dir;
};

TEST_F(AtomicWriteTest, NewFileTakesTheUmaskWhichIsLeftAsItWas) {
    const mode_t old = ::umask(027);
    ASSERT_TRUE(vlr::WriteFileAtomically((dir / "new.html").string(), "x"));
    EXPECT_EQ(info(dir / "new.html").st_mode & 07777, 0640u);
    EXPECT_EQ(::umask(old), 027u) << "the save changed the umask";
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicWriteTest, ReplacedFileKeepsModeOwnerAndGroup) {
    const fs::path page = dir / "page.html";
    write(page, "old");
    ASSERT_EQ(::chmod(page.c_str(), 0751), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(page.c_str(), 4321, 8765), 0);
    }
    const ino_t before = info(page).st_ino;
    std::string error;
    ASSERT_TRUE(vlr::WriteFileAtomically(page.string(), "new text", &error)) << error;
    EXPECT_EQ(read(page), "new text");
    const struct stat after = info(page);
    EXPECT_EQ(after.st_mode & 07777, 0751u);
    if (root) {
        EXPECT_EQ(after.st_uid, 4321u);
        EXPECT_EQ(after.st_gid, 8765u);
    }
    EXPECT_NE(after.st_ino, before) << "a file with one name is replaced, not rewritten";
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicWriteTest, HardLinkedFileIsWrittenInPlaceAndStaysOneFile) {
    const fs::path page = dir / "page.html";
    const fs::path other = dir / "other-name.html";
    write(page, "a long old text that is longer than the new one");
    fs::create_hard_link(page, other);
    std::string error;
    ASSERT_TRUE(vlr::WriteFileAtomically(other.string(), "short", &error)) << error;
    EXPECT_EQ(read(page), "short");
    EXPECT_EQ(read(other), "short");
    EXPECT_EQ(info(page).st_ino, info(other).st_ino);
    EXPECT_EQ(info(page).st_nlink, 2u);
    EXPECT_EQ(entries(), 2) << "the backup copy is removed after the write";
}

TEST_F(AtomicWriteTest, ReadOnlyFileIsRefusedAndLeftUnchangedEvenForRoot) {
    const fs::path page = dir / "locked.html";
    write(page, "keep me");
    ASSERT_EQ(::chmod(page.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(vlr::WriteFileAtomically(page.string(), "lost", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(read(page), "keep me");
    EXPECT_EQ(info(page).st_mode & 07777, 0444u);
    EXPECT_EQ(entries(), 1);

    // Not a regular file: nothing is written through it or over it.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(vlr::WriteFileAtomically((dir / "fifo").string(), "x", &error));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_FALSE(vlr::WriteFileAtomically("", "x", &error));
}

TEST_F(AtomicWriteTest, LinkedFileIsSavedThroughItsLink) {
    const fs::path target = dir / "real.html";
    write(target, "old");
    ::chmod(target.c_str(), 0600);
    fs::create_symlink(target, dir / "link.html");
    ASSERT_TRUE(vlr::WriteFileAtomically((dir / "link.html").string(), "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.html"));
    EXPECT_EQ(read(target), "new");
    EXPECT_EQ(info(target).st_mode & 07777, 0600u);
}

class PrivateTempDirTest : public AtomicWriteTest {
protected:
    void SetUp() override {
        AtomicWriteTest::SetUp();
        for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CACHE_HOME"})
            if (const char* v = std::getenv(name))
                saved.emplace_back(name, v);
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_RUNTIME_DIR");
        ::unsetenv("XDG_CACHE_HOME");
        for (const auto& [name, value] : saved)
            ::setenv(name.c_str(), value.c_str(), 1);
        AtomicWriteTest::TearDown();
    }
    std::vector<std::pair<std::string, std::string>> saved;
};

TEST_F(PrivateTempDirTest, RuntimeFolderFirstThenCacheAlways0700) {
    const fs::path runtime = dir / "run";
    fs::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_EQ(vlr::PrivateTempDir(), (runtime / "velora").string() + "/");
    EXPECT_EQ(info(runtime / "velora").st_mode & 0777, 0700u);
    EXPECT_EQ(vlr::PrivateTempFile("~fsetting.tmp"), (runtime / "velora" / "~fsetting.tmp").string());

    // A runtime folder others can enter is not the user's own: the cache is used.
    ::chmod(runtime.c_str(), 0755);
    EXPECT_EQ(vlr::PrivateTempDir(), (dir / "cache" / "velora" / "tmp").string() + "/");
    EXPECT_EQ(info(dir / "cache" / "velora" / "tmp").st_mode & 0777, 0700u);

    // A folder the user made wider is narrowed again.
    ::chmod((dir / "cache" / "velora" / "tmp").c_str(), 0777);
    EXPECT_FALSE(vlr::PrivateTempDir().empty());
    EXPECT_EQ(info(dir / "cache" / "velora" / "tmp").st_mode & 0777, 0700u);
}

TEST_F(PrivateTempDirTest, APlantedLinkOrSomeoneElsesFolderIsNeverUsed) {
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directories(elsewhere);
    fs::create_directories(dir / "cache" / "velora");
    fs::create_directory_symlink(elsewhere, dir / "cache" / "velora" / "tmp");
    EXPECT_EQ(vlr::PrivateTempDir(), "");
    EXPECT_EQ(vlr::PrivateTempFile("~fsetting.tmp"), "");
    EXPECT_FALSE(vlr::WriteFileAtomically(vlr::PrivateTempFile("~fsetting.tmp"), "x"));
    EXPECT_TRUE(fs::is_empty(elsewhere));

    if (::geteuid() == 0) {
        fs::remove(dir / "cache" / "velora" / "tmp");
        fs::create_directories(dir / "cache" / "velora" / "tmp");
        ASSERT_EQ(::chown((dir / "cache" / "velora" / "tmp").c_str(), 4321, 4321), 0);
        EXPECT_EQ(vlr::PrivateTempDir(), "");
    }
}

}  // namespace
