// Colour palette files: reading ".PAL" and ".ACT", writing ".PAL".
#include "appearance/palette/PaletteFile.h"

#include "platform/AsciiCase.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr {

namespace {

constexpr unsigned char kPalHeader[4] = {0x00, 0x03, 0x00, 0x01};

// The base name of a path: what follows the last "/".
std::string_view baseName(std::string_view fileName) noexcept {
    auto slash = fileName.find_last_of('/');
    return slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
}

// The extension of the base name, dot included, or "" when it has none.
std::string_view extensionOf(std::string_view fileName) noexcept {
    std::string_view name = baseName(fileName);
    auto dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

// Reads exactly size bytes from the start of an open file; a file that ends
// sooner, or a read that fails, raises the input/output error.
std::vector<unsigned char> readExactly(std::ifstream& in, std::size_t size, const std::string& fileName) {
    std::vector<unsigned char> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(in.gcount()) != size) {
        if (in.bad())
            throw EPaletteIOError("Read error in file \"" + fileName + "\"", fileName);
        throw EPaletteIOError("Read beyond end of file \"" + fileName + "\"", fileName);
    }
    return bytes;
}

// Opens a regular file for reading; a folder counts as a file that cannot be
// opened. On failure, why tells the reason.
bool openForReading(const std::string& fileName, std::ifstream& in, std::string& why) {
    std::error_code ec;
    if (std::filesystem::is_directory(fileName, ec)) {
        why = std::strerror(EISDIR);
        return false;
    }
    errno = 0;
    in.open(fileName, std::ios::binary);
    if (in.is_open())
        return true;
    why = errno ? std::strerror(errno) : "Cannot open";
    return false;
}

}  // namespace

PaletteFormat PaletteFormatOf(std::string_view fileName) noexcept {
    std::string_view ext = extensionOf(fileName);
    if (AsciiEqualsNoCase(ext, ".pal"))
        return PaletteFormat::Pal;
    if (AsciiEqualsNoCase(ext, ".act"))
        return PaletteFormat::Act;
    return PaletteFormat::None;
}

std::string PaletteDisplayName(std::string_view fileName) {
    std::string_view name = baseName(fileName);
    return std::string(name.substr(0, name.size() - extensionOf(name).size()));
}

Palette PaletteFromPalBytes(const unsigned char* data) noexcept {
    Palette colors{};
    const unsigned char* entry = data + sizeof kPalHeader;
    for (std::size_t i = 0; i < kPaletteEntries; ++i, entry += 4)
        colors[i] = static_cast<ColorValue>(entry[0]) | static_cast<ColorValue>(entry[1]) << 8 |
                    static_cast<ColorValue>(entry[2]) << 16 | static_cast<ColorValue>(entry[3]) << 24;
    return colors;
}

Palette PaletteFromActBytes(const unsigned char* data) noexcept {
    Palette colors{};
    const unsigned char* entry = data;
    for (std::size_t i = 0; i < kPaletteEntries; ++i, entry += 3)
        colors[i] = RGBToValue(entry[0], entry[1], entry[2]);
    return colors;
}

bool ReadPaletteFile(const std::string& fileName, Palette& colors) {
    std::ifstream in;
    std::string why;
    switch (PaletteFormatOf(fileName)) {
    case PaletteFormat::Pal: {
        if (!openForReading(fileName, in, why))
            return false;
        auto bytes = readExactly(in, kPalFileSize, fileName);
        colors = PaletteFromPalBytes(bytes.data());
        return true;
    }
    case PaletteFormat::Act: {
        if (!openForReading(fileName, in, why))
            throw EPaletteIOError("Cannot open file \"" + fileName + "\". " + why, fileName);
        auto bytes = readExactly(in, kActFileSize, fileName);
        colors = PaletteFromActBytes(bytes.data());
        return true;
    }
    case PaletteFormat::None:
        break;
    }
    return false;
}

std::string PalFileBytes(const Palette& colors) {
    std::string bytes(reinterpret_cast<const char*>(kPalHeader), sizeof kPalHeader);
    bytes.reserve(kPalFileSize);
    for (ColorValue v : colors)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>((v >> shift) & 0xFFu));
    return bytes;
}

void WritePalFile(const std::string& fileName, const Palette& colors) {
    const std::string bytes = PalFileBytes(colors);
    auto fail = [&](const std::string& what) {
        throw EPaletteIOError(what + " \"" + fileName + "\". " + std::strerror(errno), fileName);
    };
    std::string pattern = fileName + ".tmp-XXXXXX";
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    int fd = mkstemp(temp.data());
    if (fd < 0)
        fail("Cannot create file");
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int saved = errno;
            ::close(fd);
            ::unlink(temp.data());
            errno = saved;
            fail("Cannot write file");
        }
        done += static_cast<std::size_t>(n);
    }
    // mkstemp creates the file for the owner only; a palette is an ordinary data file.
    bool ok = ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(temp.data());
        errno = saved;
        fail("Cannot write file");
    }
    if (std::rename(temp.data(), fileName.c_str()) != 0) {
        int saved = errno;
        ::unlink(temp.data());
        errno = saved;
        fail("Cannot create file");
    }
}

std::string ColorText(ColorValue value) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X",
                  static_cast<unsigned>(RGBToValue(BlueOf(value), GreenOf(value), RedOf(value))));
    return text;
}

}  // namespace vlr
