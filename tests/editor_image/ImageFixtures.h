// Small pictures made in memory for the size readers: an animated GIF whose
// first frame is smaller than its screen, JPEG files written through libjpeg,
// and the first bytes of PNG and WebP files.
#pragma once

#include <string>

namespace vlrtest {

// GIF89a with a screen of screenW x screenH and two frames, the first of
// frameW x frameH (after a graphic-control extension and a comment).
std::string AnimatedGif(int screenW, int screenH, int frameW, int frameH);
// A greyscale JPEG of w x h.
std::string Jpeg(int w, int h);
std::string PngHeader(unsigned w, unsigned h);
std::string WebpLossy(int w, int h);
std::string WebpLossless(int w, int h);
std::string WebpExtended(int w, int h);

// Writes bytes to a file (whole); false when it cannot.
bool WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace vlrtest
