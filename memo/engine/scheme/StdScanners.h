// The built-in scanners of the highlighter (scanner numbers 0, 1, 2 and 10..20). Each starts at
// the stream's current character; on success the stream stands after what it accepted. On
// failure the stream position is unspecified: the caller goes back to where it started.
#pragma once

#include <cstdint>

#include "memo/engine/TokenScanner.h"

namespace vlr {

// Runs scanner `n` at the stream's position; `tokenStart` is where the current token began (the
// rest-of-line scanner 2 accepts only a token that began at the start of a line). Unknown
// scanner numbers fail.
[[nodiscard]] bool RunStdScanner(std::uint8_t n, velora::memo::EdStream& s,
                                 velora::memo::Pos tokenStart);

}  // namespace vlr
