// The GIF and JPEG readers: giflib walks the records up to the first image
// descriptor, libjpeg reads the frame header; no pixel data is decoded.
#include "editor/image/ImageInfo.h"

#include <gif_lib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>

namespace vlr::image {

namespace {

struct GifSource {
    const unsigned char* data;
    std::size_t size;
    std::size_t offset;
};

int ReadGifBytes(GifFileType* gif, GifByteType* into, int wanted) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    if (wanted <= 0)
        return 0;
    std::size_t n = std::min<std::size_t>(std::size_t(wanted), src->size - src->offset);
    std::memcpy(into, src->data + src->offset, n);
    src->offset += n;
    return int(n);
}

// Closes the decoder however the reader leaves.
struct GifCloser {
    GifFileType* gif;
    ~GifCloser() {
        int error = 0;
        if (gif)
            DGifCloseFile(gif, &error);
    }
};

[[noreturn]] void GifFailure(int code) {
    const char* why = GifErrorString(code);
    throw ImageError(std::string("not a readable GIF picture (") + (why ? why : "unknown error") + ")");
}

}  // namespace

ImageSize GifSizeOf(const unsigned char* data, std::size_t size) {
    GifSource src{data, size, 0};
    int error = 0;
    GifCloser closer{DGifOpen(&src, ReadGifBytes, &error)};
    if (!closer.gif)
        GifFailure(error);
    GifFileType* gif = closer.gif;
    // The logical screen may be larger than any frame: the first image's own
    // descriptor gives the size that is shown.
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            GifFailure(gif->Error);
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR)
                GifFailure(gif->Error);
            const ImageSize s{gif->Image.Width, gif->Image.Height};
            if (s.width <= 0 || s.height <= 0)
                throw ImageError("the GIF picture's first image is empty");
            return s;
        }
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                GifFailure(gif->Error);
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                    GifFailure(gif->Error);
            }
            continue;
        }
        if (type == TERMINATE_RECORD_TYPE)
            throw ImageError("the GIF picture holds no image");
        throw ImageError("not a readable GIF picture (unknown record)");
    }
}

namespace {

struct JpegFailure {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* failure = reinterpret_cast<JpegFailure*>(info->err);
    info->err->format_message(info, failure->text);
    std::longjmp(failure->jump, 1);
}

// Warnings about damaged data are not printed; a header that cannot be read
// fails through JpegErrorExit.
void JpegQuiet(j_common_ptr) {}

// Runs the header read between setjmp and the clean-up, with no C++ objects
// in the frame that the jump could skip.
bool ReadJpegHeader(const unsigned char* data, std::size_t size, ImageSize* out, char* why) {
    jpeg_decompress_struct info;
    JpegFailure failure;
    info.err = jpeg_std_error(&failure.base);
    failure.base.error_exit = JpegErrorExit;
    failure.base.output_message = JpegQuiet;
    failure.text[0] = 0;
    if (setjmp(failure.jump)) {
        std::snprintf(why, JMSG_LENGTH_MAX, "%s", failure.text);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    out->width = int(info.image_width);
    out->height = int(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

ImageSize JpegSizeOf(const unsigned char* data, std::size_t size) {
    if (size == 0)
        throw ImageError("not a readable JPEG picture (empty file)");
    ImageSize s;
    char why[JMSG_LENGTH_MAX] = {0};
    if (!ReadJpegHeader(data, size, &s, why))
        throw ImageError(std::string("not a readable JPEG picture (") + why + ")");
    if (s.width <= 0 || s.height <= 0)
        throw ImageError("the JPEG picture is empty");
    return s;
}

}  // namespace vlr::image
