#include "appearance/palette/PaletteFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "vlr-palette-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(path / name, std::ios::binary);
        out << bytes;
        return (path / name).string();
    }
};

// 768 bytes of distinct triples: entry i is (i, 255 - i, 7i mod 256).
std::string actBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
        bytes.push_back(static_cast<char>(255 - i));
        bytes.push_back(static_cast<char>((7 * i) & 0xFF));
    }
    return bytes;
}

vlr::Palette filled(vlr::ColorValue v) {
    vlr::Palette p;
    p.fill(v);
    return p;
}

TEST(PaletteFile, ActTriplesBecomeColourValuesAndTrailingBytesAreIgnored) {
    TempDir dir;
    const std::string file = dir.write("photo.act", actBytes() + "XYZW");  // 772 bytes
    vlr::Palette colors = filled(0x123456);
    ASSERT_TRUE(vlr::ReadPaletteFile(file, colors));
    for (unsigned i = 0; i < 256; ++i)
        ASSERT_EQ(colors[i], i + 256u * (255u - i) + 65536u * ((7u * i) & 0xFFu)) << i;
}

TEST(PaletteFile, PalEntriesAreCopiedUnchangedAfterTheHeader) {
    TempDir dir;
    std::string bytes = "HDR!";
    for (unsigned i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));      // red
        bytes.push_back(static_cast<char>(i ^ 0x5A));  // green
        bytes.push_back(static_cast<char>(0xFF - i));  // blue
        bytes.push_back(static_cast<char>(i == 9 ? 0x02 : 0));  // high byte
    }
    const std::string file = dir.write("x.PAL", bytes + std::string(10, '\x7F'));
    vlr::Palette colors{};
    ASSERT_TRUE(vlr::ReadPaletteFile(file, colors));
    EXPECT_EQ(colors[0], 0x00FF5A00u);
    EXPECT_EQ(colors[9], 0x02F65309u);
    EXPECT_EQ(colors[255], 0x0000A5FFu);
}

TEST(PaletteFile, ExtensionsAreRecognisedInAnyLetterCase) {
    EXPECT_EQ(vlr::PaletteFormatOf("/a/b.act"), vlr::PaletteFormat::Act);
    EXPECT_EQ(vlr::PaletteFormatOf("/a/b.AcT"), vlr::PaletteFormat::Act);
    EXPECT_EQ(vlr::PaletteFormatOf("/a/b.Pal"), vlr::PaletteFormat::Pal);
    EXPECT_EQ(vlr::PaletteFormatOf("Web Safe.pal"), vlr::PaletteFormat::Pal);
    EXPECT_EQ(vlr::PaletteFormatOf("/a/b.pal.bak"), vlr::PaletteFormat::None);
    EXPECT_EQ(vlr::PaletteFormatOf("/a/pal"), vlr::PaletteFormat::None);
    EXPECT_EQ(vlr::PaletteFormatOf("/a.pal/b"), vlr::PaletteFormat::None);
    EXPECT_EQ(vlr::PaletteFormatOf("/a/b.pa"), vlr::PaletteFormat::None);

    TempDir dir;
    vlr::Palette colors{};
    EXPECT_TRUE(vlr::ReadPaletteFile(dir.write("lower.act", actBytes()), colors));
    EXPECT_EQ(colors[1], 1u + 256u * 254u + 65536u * 7u);
}

TEST(PaletteFile, ShortFilesRaiseAndKeepTheColours) {
    TempDir dir;
    const vlr::Palette before = filled(0x00ABCDEF);
    const std::string cases[] = {
        dir.write("short.act", actBytes().substr(0, 767)),
        dir.write("empty.act", ""),
        dir.write("short.pal", std::string(1027, '\x11')),
        dir.write("header.Pal", "RIFF"),
    };
    for (const std::string& file : cases) {
        vlr::Palette colors = before;
        try {
            vlr::ReadPaletteFile(file, colors);
            ADD_FAILURE() << file << " did not raise";
        } catch (const vlr::EPaletteIOError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Read beyond end of file", 0), 0u) << e.what();
            EXPECT_EQ(e.FileName(), file);
        }
        EXPECT_EQ(colors, before) << file;
    }
}

TEST(PaletteFile, FilesThatCannotBeOpened) {
    TempDir dir;
    const vlr::Palette before = filled(7);
    vlr::Palette colors = before;
    // A ".PAL" that is missing (or a folder) loads nothing, quietly.
    EXPECT_FALSE(vlr::ReadPaletteFile((dir.path / "missing.pal").string(), colors));
    fs::create_directory(dir.path / "folder.pal");
    EXPECT_FALSE(vlr::ReadPaletteFile((dir.path / "folder.pal").string(), colors));
    // A missing ".ACT" is an input/output error.
    EXPECT_THROW(vlr::ReadPaletteFile((dir.path / "missing.act").string(), colors), vlr::EPaletteIOError);
    // Any other extension loads nothing, however long the file.
    EXPECT_FALSE(vlr::ReadPaletteFile(dir.write("colors.txt", std::string(2000, '\x40')), colors));
    EXPECT_EQ(colors, before);
}

TEST(PaletteFile, WrittenPalFilesHaveTheHeaderAndReadBack) {
    TempDir dir;
    vlr::Palette colors{};
    for (unsigned i = 0; i < 256; ++i)
        colors[i] = vlr::ColorOf(i, 255 - i, i / 2);
    const std::string file = (dir.path / "round.pal").string();
    dir.write("round.pal", "old contents");
    vlr::WritePalFile(file, colors);

    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), vlr::kPalFileSize);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x03\x00\x01", 4));
    EXPECT_EQ(bytes, vlr::PalFileBytes(colors));
    vlr::Palette back{};
    ASSERT_TRUE(vlr::ReadPaletteFile(file, back));
    EXPECT_EQ(back, colors);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);

    EXPECT_THROW(vlr::WritePalFile((dir.path / "no" / "such.pal").string(), colors), vlr::EPaletteIOError);
}

TEST(PaletteFile, ColourTextReadsRedGreenBlue) {
    EXPECT_EQ(vlr::RGBToValue(0x80, 0x00, 0xFF), 0xFF0080u);
    EXPECT_EQ(vlr::RGBToValue(1, 2, 3), 3u * 65536u + 2u * 256u + 1u);
    EXPECT_EQ(vlr::ColorText(0), "#000000");
    EXPECT_EQ(vlr::ColorText(vlr::ColorOf(0, 0, 255)), "#0000FF");
    EXPECT_EQ(vlr::ColorText(vlr::ColorOf(255, 0, 128)), "#FF0080");
    EXPECT_EQ(vlr::ColorText(vlr::ColorOf(0xAB, 0xCD, 0xEF)), "#ABCDEF");
    // The high byte of a colour value is not part of the colour.
    EXPECT_EQ(vlr::ColorText(0x02FFFFFFu), "#FFFFFF");
}

TEST(PaletteFile, DisplayNameDropsFolderAndExtension) {
    EXPECT_EQ(vlr::PaletteDisplayName("/opt/velora/swatches/Web Safe.pal"), "Web Safe");
    EXPECT_EQ(vlr::PaletteDisplayName("/x/earth.tones.ACT"), "earth.tones");
    EXPECT_EQ(vlr::PaletteDisplayName("/x.d/plain"), "plain");
    EXPECT_EQ(vlr::PaletteDisplayName("name.pal"), "name");
}

}  // namespace
