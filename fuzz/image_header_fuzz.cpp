// One picture size reader on arbitrary bytes; which one is chosen when the
// target is built (IMAGE_READER names the function). Bad input must end in
// ImageError, never in a crash, a hang or a leak.
#include "editor/image/ImageInfo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const vlr::image::ImageSize s = vlr::image::IMAGE_READER(data, size);
        if (s.width <= 0 || s.height <= 0)
            __builtin_trap();  // a size the readers promise never to return
    } catch (const vlr::image::ImageError&) {
    }
    return 0;
}
