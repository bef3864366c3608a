// The PNG and WebP readers: both formats keep the picture's size at fixed
// places near the start of the file.
#include "editor/image/ImageInfo.h"

#include <cstdint>
#include <cstring>

namespace vlr::image {

namespace {

std::uint32_t Big32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

std::uint32_t Little32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint32_t Little24(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
}

std::uint32_t Little16(const unsigned char* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }

}  // namespace

ImageSize PngSizeOf(const unsigned char* data, std::size_t size) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    // Signature, then the IHDR chunk: length 13, type, width, height.
    if (size < 24 || std::memcmp(data, kSignature, 8) != 0)
        throw ImageError("not a readable PNG picture (no PNG signature)");
    if (Big32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
        throw ImageError("not a readable PNG picture (no image header)");
    const std::uint32_t w = Big32(data + 16), h = Big32(data + 20);
    // The format limits both to 2^31 - 1; zero is not allowed.
    if (w == 0 || h == 0 || w > 0x7fffffffu || h > 0x7fffffffu)
        throw ImageError("not a readable PNG picture (impossible size)");
    return {int(w), int(h)};
}

ImageSize WebpSizeOf(const unsigned char* data, std::size_t size) {
    if (size < 30 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WEBP", 4) != 0)
        throw ImageError("not a readable WebP picture (no WebP header)");
    const unsigned char* chunk = data + 12;
    const unsigned char* body = chunk + 8;
    if (std::memcmp(chunk, "VP8 ", 4) == 0) {
        // Lossy: a 3-byte frame tag, the start code, then 14-bit sizes.
        if (body[3] != 0x9d || body[4] != 0x01 || body[5] != 0x2a)
            throw ImageError("not a readable WebP picture (bad frame start)");
        const int w = int(Little16(body + 6) & 0x3fff), h = int(Little16(body + 8) & 0x3fff);
        if (w == 0 || h == 0)
            throw ImageError("not a readable WebP picture (impossible size)");
        return {w, h};
    }
    if (std::memcmp(chunk, "VP8L", 4) == 0) {
        // Lossless: signature byte, then width - 1 and height - 1 in 14 bits each.
        if (body[0] != 0x2f)
            throw ImageError("not a readable WebP picture (bad lossless signature)");
        const std::uint32_t bits = Little32(body + 1);
        return {int((bits & 0x3fff) + 1), int(((bits >> 14) & 0x3fff) + 1)};
    }
    if (std::memcmp(chunk, "VP8X", 4) == 0) {
        // Extended: flags, three reserved bytes, canvas width - 1 and height - 1 in 24 bits.
        return {int(Little24(body + 4) + 1), int(Little24(body + 7) + 1)};
    }
    throw ImageError("not a readable WebP picture (unknown first chunk)");
}

}  // namespace vlr::image
