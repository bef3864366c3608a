// Building the inserted image element.
#include "editor/image/ImageElement.h"

#include "authoring/markup/HtmlEscape.h"

namespace vlr::image {

namespace {

const char kFilePrefix[] = "file://";

std::string PercentEncoded(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        const bool escape = c <= 0x20 || c == 0x7f || c == '"' || c == '%' || c == '#' || c == '?' ||
                            c == '<' || c == '>' || c == '\'';
        if (escape) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}


}  // namespace

std::string ImagePrefix(bool insImg, const std::string& projectFile,
                        const std::function<std::string(const std::string&)>& readImgprep) {
    if (insImg && !projectFile.empty() && projectFile != "none")
        return readImgprep(projectFile);
    return kFilePrefix;
}

const std::string& PictureFilter() {
    static const std::string filter =
        "All (*.gif;*.jpg;*.jpeg;*.png;*.webp;*.svg)|*.gif;*.jpg;*.jpeg;*.png;*.webp;*.svg|"
        "CompuServe GIF Image (*.gif)|*.gif|"
        "JPeg Image (*.jpg;*.jpeg)|*.jpg;*.jpeg|"
        "PNG Image (*.png)|*.png|"
        "WebP Image (*.webp)|*.webp|"
        "SVG Image (*.svg)|*.svg";
    return filter;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ImageSource(const std::string& prefix, const std::string& path) {
    if (prefix == kFilePrefix)
        return prefix + PercentEncoded(path);
    return prefix + PercentEncoded(BaseName(path));
}

std::string ImageElement(const std::string& prefix, const std::string& path, ImageSize size) {
    return "<img src=\"" + ImageSource(prefix, path) + "\" width=" + std::to_string(size.width) +
           " height=" + std::to_string(size.height) + " alt=\"" + EscapeAttribute(BaseName(path)) + "\">";
}

}  // namespace vlr::image
