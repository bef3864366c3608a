// A small Hunspell dictionary written into a test folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace vlrtest {

// Writes <folder>/en_TEST.aff and .dic holding the given words (one a line).
inline void WriteFixtureDictionary(const std::filesystem::path& folder, const std::string& words) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "en_TEST.aff", std::ios::binary)
        << "SET UTF-8\nTRY esiarntolcdugmphbyfvkwzESIARNTOLCDUGMPHBYFVKWZ'\nWORDCHARS '\n"
           "SFX S Y 1\nSFX S 0 s .\n";
    std::size_t n = 0;
    for (char c : words)
        n += c == '\n';
    std::ofstream(folder / "en_TEST.dic", std::ios::binary) << n << '\n' << words;
}

inline const char* kFixtureWords =
    "the\nThe\na\nis\nthis\nThis\nof\nand\nword/S\nhouse/S\ncafé\nsentence\nwith\ntext\nin\nhello\nHello\n"
    "world\nlink\nsee\nsome\nbold\nhere\nit\nor\n";

}  // namespace vlrtest
