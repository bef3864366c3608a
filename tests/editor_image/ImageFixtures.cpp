// Pictures made in memory for the size readers.
#include "ImageFixtures.h"

#include <cstdio>
#include <fstream>
#include <jpeglib.h>
#include <vector>

namespace vlrtest {

namespace {

void Le16(std::string& s, int v) {
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}

void Le24(std::string& s, int v) {
    Le16(s, v & 0xffff);
    s += char((v >> 16) & 0xff);
}

void Be32(std::string& s, unsigned v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        s += char((v >> shift) & 0xff);
}

void GifFrame(std::string& s, int left, int top, int w, int h) {
    s += "\x21\xF9\x04";
    s += std::string("\x00\x0A\x00\x00\x00", 5);  // delay 10, no transparency, terminator
    s += ',';
    Le16(s, left);
    Le16(s, top);
    Le16(s, w);
    Le16(s, h);
    s += char(0x80);                      // local colour table of two entries
    s += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
    s += char(2);                         // LZW minimum code size
    s += std::string("\x02\x44\x01\x00", 4);  // one tiny data block, then the terminator
}

}  // namespace

std::string AnimatedGif(int screenW, int screenH, int frameW, int frameH) {
    std::string s = "GIF89a";
    Le16(s, screenW);
    Le16(s, screenH);
    s += std::string("\x00\x00\x00", 3);  // no global colour table
    // A comment before the first frame: extension blocks are skipped.
    s += "\x21\xFE\x05hello";
    s += char(0);
    GifFrame(s, 3, 2, frameW, frameH);
    GifFrame(s, 0, 0, screenW, screenH);
    s += ';';
    return s;
}

std::string Jpeg(int w, int h) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&c, &out, &outSize);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(std::size_t(w), 128);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    std::string bytes(reinterpret_cast<char*>(out), outSize);
    jpeg_destroy_compress(&c);
    free(out);
    return bytes;
}

std::string PngHeader(unsigned w, unsigned h) {
    std::string s("\x89PNG\r\n\x1a\n", 8);
    Be32(s, 13);
    s += "IHDR";
    Be32(s, w);
    Be32(s, h);
    s += std::string("\x08\x02\x00\x00\x00", 5);
    Be32(s, 0);  // CRC, not checked by the size reader
    return s;
}

static std::string Riff(const std::string& chunk, const std::string& body) {
    std::string s = "RIFF";
    Le24(s, int(body.size() + 12));
    s += char(0);
    s += "WEBP" + chunk;
    Le24(s, int(body.size()));
    s += char(0);
    return s + body;
}

std::string WebpLossy(int w, int h) {
    std::string b("\x10\x02\x00\x9d\x01\x2a", 6);
    Le16(b, w);
    Le16(b, h);
    b += std::string(8, '\0');
    return Riff("VP8 ", b);
}

std::string WebpLossless(int w, int h) {
    std::string b("\x2f", 1);
    const unsigned bits = unsigned(w - 1) | unsigned(h - 1) << 14;
    for (int i = 0; i < 4; ++i)
        b += char((bits >> (8 * i)) & 0xff);
    b += std::string(8, '\0');
    return Riff("VP8L", b);
}

std::string WebpExtended(int w, int h) {
    std::string b(4, '\0');
    Le24(b, w - 1);
    Le24(b, h - 1);
    b += std::string(8, '\0');
    return Riff("VP8X", b);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace vlrtest
