// DoPathEx: the folder of a source file relative to the project's source
// directory, passed and answered as short texts.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

using namespace vlrtest;

namespace {

std::array<unsigned char, 256> Short(const std::string& text) {
    std::array<unsigned char, 256> s{};
    EXPECT_LE(text.size(), 255u);
    s[0] = static_cast<unsigned char>(text.size());
    std::memcpy(s.data() + 1, text.data(), text.size());
    return s;
}

std::string Map(const std::string& sourceDir, const std::string& fileDir, const std::string& outputDir = "/site/out") {
    auto doPathEx = Entry<DoPathExFn>("vlrcore", "DoPathEx");
    auto src = Short(sourceDir), file = Short(fileDir), out = Short(outputDir);
    unsigned char result[256];
    std::memset(result, 0xCD, sizeof result);
    doPathEx(src.data(), file.data(), out.data(), result);
    return std::string(reinterpret_cast<const char*>(result + 1), result[0]);
}

TEST(DoPathEx, NestedFolderIsGivenWithoutLeadingOrTrailingSlash) {
    EXPECT_EQ(Map("/home/ann/site/src", "/home/ann/site/src/sub/dir"), "sub/dir");
    EXPECT_EQ(Map("/home/ann/site/src", "/home/ann/site/src/images"), "images");
    // Trailing slashes on either input, as a file's directory part usually has.
    EXPECT_EQ(Map("/home/ann/site/src/", "/home/ann/site/src/sub/dir/"), "sub/dir");
    EXPECT_EQ(Map("/home/ann/site/src", "/home/ann/site/src/sub/dir/"), "sub/dir");
    EXPECT_EQ(Map("/home/ann/site/src//", "/home/ann/site/src/sub"), "sub");
}

TEST(DoPathEx, FileDirectlyInTheSourceDirectoryMapsToEmpty) {
    EXPECT_EQ(Map("/site/src", "/site/src"), "");
    EXPECT_EQ(Map("/site/src", "/site/src/"), "");
    EXPECT_EQ(Map("/site/src/", "/site/src"), "");
}

TEST(DoPathEx, RepeatedSlashesDotsAndParentStepsAreResolved) {
    EXPECT_EQ(Map("/site//src/./", "/site/src/a//b/../c/"), "a/c");
    EXPECT_EQ(Map("/site/tmp/../src", "/site/src/a"), "a");
    EXPECT_EQ(Map("/", "/var/www/a"), "var/www/a");
    EXPECT_EQ(Map("src", "src/a/b"), "a/b");
    EXPECT_EQ(Map("./src", "src/a"), "a");
}

TEST(DoPathEx, FileOutsideTheSourceDirectoryMapsToEmptyNeverAbove) {
    // Built into the output directory itself: a "../" result would place the
    // page outside the output directory.
    EXPECT_EQ(Map("/site/src", "/site/other/x"), "");
    EXPECT_EQ(Map("/site/src", "/site"), "");
    EXPECT_EQ(Map("/site/src", "/site/src/../out"), "");
    EXPECT_EQ(Map("/site/src", "/site/src2/x"), "");  // a name that merely starts alike
    EXPECT_EQ(Map("/site/src", "site/src/x"), "");    // relative against absolute
    EXPECT_EQ(Map("..", "../../x"), "");
    EXPECT_EQ(Map("", "/site/src/a"), "");
    EXPECT_EQ(Map("/site/src", ""), "");
}

TEST(DoPathEx, NamesAreComparedWithLetterCase) {
    EXPECT_EQ(Map("/Site/Src", "/site/src/a"), "");
    EXPECT_EQ(Map("/site/src", "/site/src/A b/C"), "A b/C");
}

TEST(DoPathEx, OnlyTheCountedCharactersAreReadAndTheResultStaysWithin256Bytes) {
    auto doPathEx = Entry<DoPathExFn>("vlrcore", "DoPathEx");
    // Characters after the length byte's count belong to no input.
    auto src = Short("/s");
    std::memcpy(src.data() + 3, "rc/garbage", 10);
    auto file = Short("/s/" + std::string(252, 'd'));
    auto out = Short("/o");
    unsigned char result[300];
    std::memset(result, 0xCD, sizeof result);
    doPathEx(src.data(), file.data(), out.data(), result);
    ASSERT_EQ(result[0], 252);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(result + 1), 252), std::string(252, 'd'));
    for (std::size_t i = 256; i < sizeof result; ++i)
        ASSERT_EQ(result[i], 0xCD) << "byte " << i << " written";
}

TEST(DoPathEx, ResultMayBeOneOfTheInputs) {
    auto doPathEx = Entry<DoPathExFn>("vlrcore", "DoPathEx");
    auto src = Short("/site/src");
    auto file = Short("/site/src/a/b/");
    auto out = Short("/site/out");
    doPathEx(src.data(), file.data(), out.data(), file.data());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(file.data() + 1), file[0]), "a/b");
}

}  // namespace
