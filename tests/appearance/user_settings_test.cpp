#include "appearance/UserSettings.h"

#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using vlr::TUserSetting;
using vlr::TUserSettingList;

namespace {

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b)
        s.push_back(static_cast<char>(c));
    return s;
}

class UserSettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        path = (fs::temp_directory_path() / ("vlr_us_" + std::to_string(::getpid()) + ".dat")).string();
    }
    void TearDown() override { fs::remove(path); }
    void write(const std::string& s) { std::ofstream(path, std::ios::binary) << s; }
    std::string read() {
        std::string s;
        vlr::ReadFileBytes(path, s);
        return s;
    }
    std::string path;
};

TEST_F(UserSettingsFile, ExactFileFormRoundTrip) {
    TUserSettingList list;
    list.Add("abc", "xy");
    list.SaveToFile(path);
    EXPECT_EQ(read(), bytes({1, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 'c', 2, 0, 0, 0, 'x', 'y'}));

    TUserSettingList empty;
    empty.SaveToFile(path);
    EXPECT_EQ(read(), bytes({0, 0, 0, 0}));
    list.LoadFromFile(path);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(UserSettingsFile, OrderDuplicatesAndEmptyTextsSurvive) {
    TUserSettingList list;
    list.Add("Title", "first");
    list.Add("", "");
    list.Add("Title", "second");
    list.SaveToFile(path);
    TUserSettingList back;
    back.LoadFromFile(path);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Items(0)->Value, "first");
    EXPECT_EQ(back.Items(1)->Name, "");
    EXPECT_EQ(back.Items(2)->Value, "second");
    EXPECT_EQ(back.FindSetting("Title")->Value, "first");
    EXPECT_EQ(back.FindSetting("title"), nullptr);
    EXPECT_EQ(&back.Items(0)->Owner(), &back);
}

TEST_F(UserSettingsFile, NameWithZeroByteIsCutThere) {
    write(bytes({1, 0, 0, 0, 3, 0, 0, 0, 'a', 0, 'c', 1, 0, 0, 0, 'v'}));
    TUserSettingList list;
    list.LoadFromFile(path);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0)->Name, "a");
    EXPECT_EQ(list.Items(0)->Value, "v");
}

TEST_F(UserSettingsFile, DamagedFilesAreRefusedAndLeaveTheListUnchanged) {
    const std::string cases[] = {
        bytes({1, 0}),                                         // count cut short
        bytes({1, 0, 0, 0, 3, 0, 0, 0, 'a', 'b'}),             // name cut short
        bytes({1, 0, 0, 0, 1, 0, 0, 0, 'a'}),                  // value length missing
        bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),           // negative length
        bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}),      // length past the end
        bytes({0xFF, 0xFF, 0xFF, 0x7F}),                       // huge count, nothing behind it
        bytes({0xFE, 0xFF, 0xFF, 0xFF}),                       // negative count
        bytes({2, 0, 0, 0, 1, 0, 0, 0, 'a', 1, 0, 0, 0, 'b'}), // second entry missing
    };
    for (const std::string& damaged : cases) {
        write(damaged);
        TUserSettingList list;
        list.Add("keep", "me");
        EXPECT_THROW(list.LoadFromFile(path), vlr::EUserSettingsError);
        ASSERT_EQ(list.Count(), 1);
        EXPECT_EQ(list.Items(0)->Name, "keep");
    }
}

TEST_F(UserSettingsFile, MissingFileIsAnErrorForTheCaller) {
    TUserSettingList list;
    list.Add("a", "b");
    try {
        list.LoadFromFile(path + ".absent");
        FAIL();
    } catch (const vlr::EUserSettingsError& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot open file"), std::string::npos);
    }
    EXPECT_EQ(list.Count(), 1);
    EXPECT_THROW(list.SaveToFile("/nonexistent-dir/x.dat"), vlr::EUserSettingsError);
}

TEST(UserSettingsList, DestroyingAnEntryRemovesItAndClearEmpties) {
    TUserSettingList list;
    list.Add("a", "1");
    TUserSetting* b = list.Add("b", "2");
    list.Add("c", "3");
    delete b;
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(1)->Name, "c");
    auto* d = new TUserSetting(list);
    EXPECT_EQ(list.Items(2), d);
    EXPECT_EQ(d->Name, "");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(list.Items(0), std::out_of_range);
}

}  // namespace
