#include "project/open/FileKinds.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <string_view>

namespace vlr {
namespace {

constexpr std::array<std::string_view, 6> kGraphic = {".gif", ".jpg", ".bmp", ".wmf", ".emf", ".ico"};
constexpr std::array<std::string_view, 13> kEditor = {".hts", ".asp",   ".htf",  ".ops",   ".htm",
                                                      ".html", ".phtm", ".txt", ".js",    ".phtml",
                                                      ".shtml", ".hsn", ".shtm"};
constexpr std::array<std::string_view, 6> kLookupImages = {".gif", ".jpg", ".bmp", ".emf", ".wmf", ".ico"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& list, const std::string& ext) {
    return std::find(list.begin(), list.end(), ext) != list.end();
}

}  // namespace

std::string FileExtension(const std::string& path) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot);
}

OpenKind KindOfFile(const std::string& path) {
    const std::string ext = FileExtension(path);
    if (contains(kGraphic, ext))
        return OpenKind::Graphic;
    if (contains(kEditor, ext))
        return OpenKind::Editor;
    if (ext == ".vlr")
        return OpenKind::Project;
    return OpenKind::Unknown;
}

bool IsProjectSourceFile(const std::string& path) { return FileExtension(path) == ".hts"; }

std::string FileNameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirectoryOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string ProjectCaption(const std::string& projectFile) {
    const std::string name = FileNameOf(projectFile);
    std::size_t dot = name.rfind('.');
    return (dot == std::string::npos ? std::string() : name.substr(0, dot)) + " - Velora";
}

std::string LookupDirectory(const std::string& name, const std::string& sourceDir, const std::string& imageDir) {
    return (contains(kLookupImages, FileExtension(name)) ? imageDir : sourceDir) + "/";
}

std::vector<std::string> SplitOpenList(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', start)) {
        pieces.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return pieces;
}

}  // namespace vlr

namespace vlr {

std::string AbsolutePath(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    return full.lexically_normal().string();
}

}  // namespace vlr
