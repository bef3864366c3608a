// Loading and saving documents: break styles, byte fidelity and safe saving.
#include "editor/document/DocumentFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class DocumentFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "vlrdoc-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir_ = templ;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

struct RoundTripCase {
    const char* name;
    std::string bytes;
    std::string stored;
    vlr::BreakStyle style;
};

TEST_F(DocumentFileTest, LoadAndSaveKeepEveryStyleByteForByte) {
    const std::string utf8 = "\xC3\xA9lan \xE2\x82\xAC \xFF\xFE";  // valid UTF-8 and stray bytes
    const RoundTripCase cases[] = {
        {"crlf", "<p>" + utf8 + "</p>\r\n\r\nend\r\n", "<p>" + utf8 + "</p>\r\rend\r", vlr::BreakStyle::CRLF},
        {"lf", "a\n" + utf8 + "\n\nz", "a\r" + utf8 + "\r\rz", vlr::BreakStyle::LF},
        {"cr", "\rone\rtwo " + utf8, "\rone\rtwo " + utf8, vlr::BreakStyle::CR},
        {"no-break", utf8, utf8, vlr::BreakStyle::LF},
        {"empty", "", "", vlr::BreakStyle::LF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(std::string(c.name) + ".htm");
        Write(path, c.bytes);
        vlr::LoadedDocument doc = vlr::LoadDocument(path);
        ASSERT_TRUE(doc.ok) << doc.error;
        EXPECT_EQ(doc.text, c.stored);
        EXPECT_EQ(doc.style, c.style);
        std::string error;
        ASSERT_TRUE(vlr::SaveDocument(path, doc.text, doc.style, &error)) << error;
        EXPECT_EQ(Read(path), c.bytes);
    }
}

TEST_F(DocumentFileTest, MixedBreaksFollowTheFirstBreakAndAreSavedUniformly) {
    const std::string path = Path("mixed.txt");
    // Pairs read left to right: "\n\r" is one break, "\r\n\r" is a pair and a lone CR.
    Write(path, "a\nb\r\nc\rd\n\re\r\n\rf");
    vlr::LoadedDocument doc = vlr::LoadDocument(path);
    ASSERT_TRUE(doc.ok);
    EXPECT_EQ(doc.style, vlr::BreakStyle::LF);
    EXPECT_EQ(doc.text, "a\rb\rc\rd\re\r\rf");
    ASSERT_TRUE(vlr::SaveDocument(path, doc.text, doc.style));
    EXPECT_EQ(Read(path), "a\nb\nc\nd\ne\n\nf");

    EXPECT_EQ(vlr::DetectBreakStyle("x\r\ny\n"), vlr::BreakStyle::CRLF);
    EXPECT_EQ(vlr::DetectBreakStyle("x\ry\r\n"), vlr::BreakStyle::CR);
    EXPECT_EQ(vlr::DetectBreakStyle("x\n\ry\n"), vlr::BreakStyle::CRLF);
    EXPECT_EQ(vlr::DetectBreakStyle("text"), vlr::BreakStyle::LF);
    // A CR at the very end is a lone CR, not half of a pair.
    EXPECT_EQ(vlr::DetectBreakStyle("x\r"), vlr::BreakStyle::CR);
}

TEST_F(DocumentFileTest, SavingANewDocumentWritesTheGivenStyle) {
    const std::string path = Path("new.hts");
    ASSERT_TRUE(vlr::SaveDocument(path, "a\r\rb\r", vlr::BreakStyle::CRLF));
    EXPECT_EQ(Read(path), "a\r\n\r\nb\r\n");
    ASSERT_TRUE(vlr::SaveDocument(path, "a\r\rb\r", vlr::BreakStyle::CR));
    EXPECT_EQ(Read(path), "a\r\rb\r");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(DocumentFileTest, LoadErrorsNameTheFile) {
    const std::string missing = Path("missing.htm");
    vlr::LoadedDocument doc = vlr::LoadDocument(missing);
    EXPECT_FALSE(doc.ok);
    EXPECT_EQ(doc.error, "Unable to find file " + missing);

    Write(Path("file"), "x");
    doc = vlr::LoadDocument(Path("file") + "/below.htm");
    EXPECT_EQ(doc.error, "Unable to find file " + Path("file") + "/below.htm");

    fs::create_directory(Path("folder"));
    doc = vlr::LoadDocument(Path("folder"));
    EXPECT_FALSE(doc.ok);
    EXPECT_EQ(doc.error.rfind("Unable to read file " + Path("folder") + ": ", 0), 0u) << doc.error;
}

TEST_F(DocumentFileTest, FailedSaveLeavesTheOldFileUntouched) {
    // A folder in the path replaced by a file: the temporary file cannot be created.
    Write(Path("notafolder"), "keep");
    std::string error;
    EXPECT_FALSE(vlr::SaveDocument(Path("notafolder") + "/doc.htm", "text", vlr::BreakStyle::LF, &error));
    EXPECT_NE(error.find("Unable to save file " + Path("notafolder") + "/doc.htm: "), std::string::npos) << error;
    EXPECT_EQ(Read(Path("notafolder")), "keep");

    // A write that fails part way (file size limit; works even as root).
    const std::string path = Path("doc.htm");
    const std::string old = "old\r\ncontents\r\n";
    Write(path, old);
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    error.clear();
    const bool ok = vlr::SaveDocument(path, std::string(100000, 'x'), vlr::BreakStyle::CRLF, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(EntryCount(), 2u) << "temporary file left behind";
}

TEST_F(DocumentFileTest, SavingKeepsSymlinksAndPermissions) {
    const std::string target = Path("real.htm");
    const std::string link = Path("link.htm");
    Write(target, "one\ntwo\n");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    fs::create_symlink("real.htm", link);

    vlr::LoadedDocument doc = vlr::LoadDocument(link);
    ASSERT_TRUE(doc.ok);
    ASSERT_TRUE(vlr::SaveDocument(link, doc.text + "three\r", doc.style));

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), fs::path("real.htm"));
    EXPECT_EQ(Read(target), "one\ntwo\nthree\n");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

}  // namespace
