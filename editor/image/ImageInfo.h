// Pixel sizes of pictures, read from their headers without decoding them:
// GIF (the first image, not the logical screen), JPEG, PNG, WebP and SVG.
// No Qt: the readers take bytes, so each can be fuzzed on its own.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace vlr::image {

struct ImageSize {
    int width = 0;
    int height = 0;
    bool operator==(const ImageSize&) const = default;
};

// A picture that cannot be measured: unreadable file, wrong format, damaged
// or truncated header. The text says which file and why.
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ImageKind { Unknown, Gif, Jpeg, Png, Webp, Svg };

// The kind a file name's extension stands for, letter case ignored
// (".jpg" and ".jpeg" are both JPEG).
ImageKind KindOfFileName(const std::string& fileName);

// Readers over the file's bytes; each throws ImageError on bad input.
ImageSize GifSizeOf(const unsigned char* data, std::size_t size);
ImageSize JpegSizeOf(const unsigned char* data, std::size_t size);
ImageSize PngSizeOf(const unsigned char* data, std::size_t size);
ImageSize WebpSizeOf(const unsigned char* data, std::size_t size);
ImageSize SvgSizeOf(const unsigned char* data, std::size_t size);

// Reads the file and measures it as the given kind; ImageError when the
// file cannot be read or measured, or the kind is Unknown.
ImageSize MeasureImage(const std::string& path, ImageKind kind);

}  // namespace vlr::image
