// TCSSList: the "styles.dat" form read and written, damaged files, the list
// operations and atomic saving.
#include "authoring/styles/StyleSheets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace vlr::authoring;

namespace {

void Put(std::string& out, std::int32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
}

// A file of styles whose texts are given; missing texts are empty.
std::string FileOf(const std::vector<std::vector<std::string>>& styles) {
    std::string out;
    Put(out, static_cast<std::int32_t>(styles.size()));
    for (const auto& s : styles)
        for (int i = 0; i < kStyleTextCount; ++i) {
            const std::string t = i < static_cast<int>(s.size()) ? s[static_cast<std::size_t>(i)] : "";
            Put(out, static_cast<std::int32_t>(t.size()));
            out += t;
        }
    return out;
}

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string p = (std::filesystem::temp_directory_path() / "styles-XXXXXX").string();
        path = mkdtemp(p.data());
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string file(const char* name) const { return (path / name).string(); }
};

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(StylesFile, ReadsRecordsInOrderAndWritesTheSameBytes) {
    const std::string bytes = FileOf({{"Head", "note", "Arial", "12", "pt"}, {"Body", "", "", "", "", "", "",
                                                                              "italic"}});
    TCSSList list;
    ASSERT_TRUE(list.LoadFromBytes(bytes).ok());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0)->Name(), "Head");
    EXPECT_EQ(list.Items(0)->S[2], "Arial");
    EXPECT_EQ(list.Items(0)->S[4], "pt");
    EXPECT_EQ(list.Items(1)->S[7], "italic");
    EXPECT_EQ(list.Items(1)->Owner(), &list);
    EXPECT_EQ(list.SaveToBytes(), bytes);
}

TEST(StylesFile, ZeroCountAndZeroByteInsideAText) {
    TCSSList list;
    ASSERT_TRUE(list.LoadFromBytes(FileOf({})).ok());
    EXPECT_EQ(list.Count(), 0);
    ASSERT_TRUE(list.LoadFromBytes(FileOf({{std::string("Ab\0cd", 5), "x"}})).ok());
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0)->Name(), "Ab");  // the rest of the five bytes is skipped
    EXPECT_EQ(list.Items(0)->S[1], "x");
}

TEST(StylesFile, DamagedFormsAreReportedAndLeaveTheListEmpty) {
    const std::string good = FileOf({{"A"}, {"B"}});
    std::string negativeCount;
    Put(negativeCount, -1);
    std::string hugeCount;
    Put(hugeCount, 0x7fffffff);
    std::string negativeLength;
    Put(negativeLength, 1);
    Put(negativeLength, -5);
    std::string hugeLength;
    Put(hugeLength, 1);
    Put(hugeLength, 0x7ffffff0);
    hugeLength += std::string(100, 'x');
    const std::string cases[] = {
        "",                                  // no count
        "\x01\x00",                          // count cut short
        good.substr(0, good.size() - 1),     // last record cut short
        good.substr(0, 4 + 10),              // first record cut inside a length
        negativeCount, hugeCount, negativeLength, hugeLength,
    };
    for (const std::string& bytes : cases) {
        TCSSList list;
        list.Add()->S[0] = "old";
        const StylesError e = list.LoadFromBytes(bytes);
        EXPECT_FALSE(e.ok()) << bytes.size();
        EXPECT_EQ(list.Count(), 0);
    }
}

TEST(StylesFile, MissingFileIsAnEmptyListDamagedFileNamesItself) {
    TempDir dir;
    TCSSList list;
    list.Add();
    EXPECT_TRUE(list.LoadFromFile(dir.file("styles.dat")).ok());
    EXPECT_EQ(list.Count(), 0);

    Write(dir.file("styles.dat"), FileOf({{"A"}}).substr(0, 30));
    const StylesError e = list.LoadFromFile(dir.file("styles.dat"));
    ASSERT_FALSE(e.ok());
    EXPECT_NE(e.message.find(dir.file("styles.dat")), std::string::npos) << e.message;
    EXPECT_NE(e.message.find("damaged"), std::string::npos) << e.message;

    EXPECT_FALSE(list.LoadFromFile(dir.path.string()).ok());  // a folder is not a style file
}

TEST(StylesFile, SaveReplacesTheFileWholeAndFailureKeepsTheOldOne) {
    TempDir dir;
    const std::string path = dir.file("styles.dat");
    Write(path, "old contents");
    TCSSList list;
    TStyleSheet* s = list.Add();
    s->S[0] = "Title";
    s->S[18] = "#FF0000";
    ASSERT_TRUE(list.SaveToFile(path).ok());
    EXPECT_EQ(Read(path), list.SaveToBytes());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);  // no temporary left

    TCSSList back;
    ASSERT_TRUE(back.LoadFromFile(path).ok());
    EXPECT_EQ(back.SaveToBytes(), list.SaveToBytes());

    EXPECT_FALSE(list.SaveToFile(dir.file("missing/styles.dat")).ok());
    EXPECT_EQ(Read(path), list.SaveToBytes());
}

TEST(StyleList, FindTakesTheFirstExactNameAndEditsKeepOwnership) {
    TCSSList list;
    for (const char* n : {"a", "B", "b", "B"})
        list.Add()->S[0] = n;
    list.Items(3)->S[1] = "second";
    EXPECT_EQ(list.Find("B"), list.Items(1));
    EXPECT_EQ(list.Find("b"), list.Items(2));
    EXPECT_EQ(list.Find("A"), nullptr);
    list.Move(3, 0);
    EXPECT_EQ(list.Items(0)->S[1], "second");
    EXPECT_EQ(list.Find("B"), list.Items(0));
    list.Delete(0);
    list.Delete(7);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(3), nullptr);
    EXPECT_EQ(list.Items(-1), nullptr);
    EXPECT_EQ(list.Find("B")->S[1], "");
}
