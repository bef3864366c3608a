// Picture kinds by extension, and measuring a picture file by its kind.
#include "editor/image/ImageInfo.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <vector>

namespace vlr::image {

namespace {

std::string LowerExtension(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = fileName.substr(dot);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Headers sit at the start; an SVG root element may follow a long prolog.
constexpr std::size_t kHeaderBytes = 1 << 20;

}  // namespace

ImageKind KindOfFileName(const std::string& fileName) {
    const std::string ext = LowerExtension(fileName);
    if (ext == ".gif")
        return ImageKind::Gif;
    if (ext == ".jpg" || ext == ".jpeg")
        return ImageKind::Jpeg;
    if (ext == ".png")
        return ImageKind::Png;
    if (ext == ".webp")
        return ImageKind::Webp;
    if (ext == ".svg")
        return ImageKind::Svg;
    return ImageKind::Unknown;
}

ImageSize MeasureImage(const std::string& path, ImageKind kind) {
    if (kind == ImageKind::Unknown)
        throw ImageError(path + ": not a picture this program can measure");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ImageError(path + ": the file cannot be read");
    // A GIF's first image may follow long extension blocks, so GIF and JPEG
    // files are read whole (the decoders still stop at the first header).
    std::vector<unsigned char> bytes;
    if (kind == ImageKind::Gif || kind == ImageKind::Jpeg) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        bytes.resize(kHeaderBytes);
        in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
        bytes.resize(std::size_t(in.gcount()));
    }
    if (in.bad())
        throw ImageError(path + ": the file cannot be read");
    try {
        switch (kind) {
        case ImageKind::Gif: return GifSizeOf(bytes.data(), bytes.size());
        case ImageKind::Jpeg: return JpegSizeOf(bytes.data(), bytes.size());
        case ImageKind::Png: return PngSizeOf(bytes.data(), bytes.size());
        case ImageKind::Webp: return WebpSizeOf(bytes.data(), bytes.size());
        case ImageKind::Svg: return SvgSizeOf(bytes.data(), bytes.size());
        case ImageKind::Unknown: break;
        }
    } catch (const ImageError& e) {
        throw ImageError(path + ": " + e.what());
    }
    throw ImageError(path + ": not a picture this program can measure");
}

}  // namespace vlr::image
