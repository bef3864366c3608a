#include "platform/AsciiCase.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class IniBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vlr_inib_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "site.ini").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string contents(const std::string& p) const {
        std::string s;
        vlr::ReadFileBytes(p, s);
        return s;
    }
    std::string contents() const { return contents(path); }
    void write(const std::string& s) { std::ofstream(path, std::ios::binary) << s; }
    int entries() const {
        int n = 0;
        for (auto it = fs::directory_iterator(dir); it != fs::directory_iterator(); ++it)
            ++n;
        return n;
    }
    fs::path dir;
    std::string path;
};

// The line-by-line rules of a profile file, written as plainly as possible:
// a list of lines searched from the top for every operation.
class ReferenceIni {
public:
    explicit ReferenceIni(const std::string& text) {
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string::npos)
                end = text.size();
            lines_.push_back(text.substr(pos, end - pos));
            pos = end + 1;
        }
    }
    std::string text() const {
        std::string out;
        for (const auto& l : lines_)
            out += l + "\n";
        return out;
    }
    void set(const std::string& section, const std::string& key, const std::string& value) {
        auto [header, end] = range(section);
        if (header == npos) {
            if (!lines_.empty() && !lines_.back().empty())
                lines_.push_back("");
            lines_.push_back("[" + section + "]");
            lines_.push_back(key + "=" + value);
            return;
        }
        std::size_t last = header;
        for (std::size_t i = header + 1; i < end; ++i)
            if (isKey(i)) {
                if (vlr::AsciiEqualsNoCase(keyName(i), key)) {
                    lines_[i] = keyName(i) + "=" + value;
                    return;
                }
                last = i;
            }
        lines_.insert(lines_.begin() + static_cast<long>(last + 1), key + "=" + value);
    }
    void erase(const std::string& section) {
        auto [header, end] = range(section);
        if (header != npos)
            lines_.erase(lines_.begin() + static_cast<long>(header), lines_.begin() + static_cast<long>(end));
    }
    void remove(const std::string& section, const std::string& key) {
        auto [header, end] = range(section);
        for (std::size_t i = header == npos ? end : header + 1; i < end; ++i)
            if (isKey(i) && vlr::AsciiEqualsNoCase(keyName(i), key)) {
                lines_.erase(lines_.begin() + static_cast<long>(i));
                return;
            }
    }

private:
    static constexpr std::size_t npos = std::string::npos;
    bool isHeader(std::size_t i) const { return !lines_[i].empty() && lines_[i][0] == '['; }
    bool isKey(std::size_t i) const {
        return !lines_[i].empty() && lines_[i][0] != '[' && lines_[i][0] != ';' &&
               lines_[i].find('=') != npos;
    }
    std::string keyName(std::size_t i) const { return lines_[i].substr(0, lines_[i].find('=')); }
    std::pair<std::size_t, std::size_t> range(const std::string& section) const {
        for (std::size_t i = 0; i < lines_.size(); ++i)
            if (isHeader(i) && vlr::AsciiEqualsNoCase(lines_[i].substr(1, lines_[i].size() - 2), section)) {
                std::size_t j = i + 1;
                while (j < lines_.size() && !isHeader(j))
                    ++j;
                return {i, j};
            }
        return {npos, 0};
    }
    std::vector<std::string> lines_;
};

TEST_F(IniBatchTest, NothingReachesTheDiskBeforeCommitAndReadsSeeTheChanges) {
    write("; kept\n[A]\nx=1\n");
    {
        vlr::IniBatch batch(path);
        batch.WriteString("a", "X", "2");
        batch.WriteInteger("B", "n", -5);
        batch.WriteBool("B", "f", true);
        EXPECT_EQ(batch.ReadString("A", "x", ""), "2");
        EXPECT_EQ(batch.ReadInteger("b", "N", 0), -5);
        EXPECT_TRUE(batch.ReadBool("B", "f", false));
        EXPECT_EQ(contents(), "; kept\n[A]\nx=1\n");
        // Dropped without Commit: the file stays as it was.
    }
    EXPECT_EQ(contents(), "; kept\n[A]\nx=1\n");

    vlr::IniBatch batch(path);
    batch.WriteString("A", "y", "3");
    batch.EraseSection("A");
    batch.WriteString("C", "k", "v");
    batch.DeleteKey("C", "k");
    batch.WriteString("C", "k2", "v2");
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(contents(), "; kept\n\n[C]\nk2=v2\n");
    EXPECT_EQ(entries(), 1);  // no temporary file left
}

TEST_F(IniBatchTest, SnapshotAndBatchReadTheFileOnce) {
    std::string text = "[files]\n";
    for (int i = 0; i < 300; ++i)
        text += std::to_string(i) + "=/p/f" + std::to_string(i) + ".hts\n";
    write(text);
    std::size_t before = vlr::IniFileReadCount();
    vlr::IniSnapshot snap(path);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(snap.ReadString("FILES", std::to_string(i), ""), "/p/f" + std::to_string(i) + ".hts");
    EXPECT_EQ(snap.ReadSection("files").size(), 300u);
    EXPECT_EQ(snap.ReadSectionValues("files")[299].second, "/p/f299.hts");
    EXPECT_EQ(vlr::IniFileReadCount() - before, 1u);

    before = vlr::IniFileReadCount();
    vlr::IniBatch batch(path);
    for (int i = 0; i < 300; ++i)
        batch.WriteString("files", std::to_string(i), "x");
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(vlr::IniFileReadCount() - before, 1u);
}

// Thousands of random changes in one batch give exactly the text that the
// plain line-by-line rules give, which catches a stale index after inserts,
// deletions and erased or repeated sections.
TEST_F(IniBatchTest, RandomChangesMatchThePlainLineRules) {
    const std::string start = "; head\nloose=1\n[A]\na=1\n; note\n\n[b]\nx=1\nX=2\n[A]\na=dup\n";
    std::mt19937 rng(20261209);
    const std::vector<std::string> sections = {"A", "a", "B", "c", "Files", "FILES"};
    const std::vector<std::string> keys = {"a", "A", "x", "k1", "K2", "k3", "0", "1"};
    for (int round = 0; round < 20; ++round) {
        write(start);
        ReferenceIni ref(start);
        vlr::IniBatch batch(path);
        for (int step = 0; step < 300; ++step) {
            const std::string& s = sections[rng() % sections.size()];
            const std::string& k = keys[rng() % keys.size()];
            const std::string value = std::to_string(rng() % 100);
            switch (rng() % 10) {
            case 0:
                batch.EraseSection(s);
                ref.erase(s);
                break;
            case 1:
            case 2:
                batch.DeleteKey(s, k);
                ref.remove(s, k);
                break;
            default:
                batch.WriteString(s, k, value);
                ref.set(s, k, value);
            }
        }
        ASSERT_TRUE(batch.Commit());
        ASSERT_EQ(contents(), ref.text()) << "round " << round;
    }
}

// A name so long that the temporary file beside it cannot be created: the
// commit fails and the old file keeps every byte.
TEST_F(IniBatchTest, FailedCommitLeavesTheOldFileByteIdentical) {
    path = (dir / (std::string(245, 'p') + ".ini")).string();
    write("[files]\n0=/p/a.hts\n[directories]\nsrc=/p\n");
    const std::string before = contents();
    vlr::IniBatch batch(path);
    batch.EraseSection("files");
    batch.WriteString("files", "0", "/p/b.hts");
    std::string error;
    EXPECT_FALSE(batch.Commit(&error));
    EXPECT_NE(error.find("Cannot create"), std::string::npos) << error;
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(entries(), 1);

    vlr::IniFile single(path);
    EXPECT_FALSE(single.WriteString("directories", "src", "/q"));
    EXPECT_EQ(contents(), before);
}

// The disk fills up during the write (a file size limit in a child process):
// the commit reports failure and the old file is still whole.
TEST_F(IniBatchTest, DiskFullDuringCommitKeepsTheOldFile) {
    std::string old = "[files]\n";
    for (int i = 0; i < 200; ++i)
        old += std::to_string(i) + "=/p/old" + std::to_string(i) + ".hts\n";
    write(old);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{static_cast<rlim_t>(old.size() + 64), static_cast<rlim_t>(old.size() + 64)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        vlr::IniBatch batch(path);
        batch.EraseSection("files");
        for (int i = 0; i < 400; ++i)
            batch.WriteString("files", std::to_string(i), "/p/new" + std::to_string(i) + ".hts");
        std::string error;
        bool committed = batch.Commit(&error);
        ::_exit(!committed && error.find("Cannot write") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the commit did not report the failed write";
    EXPECT_EQ(contents(), old);
    EXPECT_EQ(entries(), 1);
}

// A file that exists but cannot be read must not be replaced by the little
// that a batch knows of it.
TEST_F(IniBatchTest, UnreadableFileIsNotOverwritten) {
    fs::create_directories(path);
    vlr::IniBatch batch(path);
    EXPECT_FALSE(batch.LoadError().empty());
    batch.WriteString("S", "k", "v");
    std::string error;
    EXPECT_FALSE(batch.Commit(&error));
    EXPECT_NE(error.find("Cannot read"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(path));

    vlr::IniFile ini(path);
    EXPECT_FALSE(ini.WriteString("S", "k", "v"));
    EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
}

TEST_F(IniBatchTest, ClearReplacesTheWholeText) {
    write("[dirs]\nold=1\nimg=/x\n[other]\nk=v\n");
    vlr::IniBatch batch(path);
    batch.Clear();
    EXPECT_FALSE(batch.SectionExists("other"));
    batch.WriteString("dirs", "img", "/y");
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(contents(), "[dirs]\nimg=/y\n");
}

}  // namespace
