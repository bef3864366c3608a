// Plain search over a character source: forwards and backwards, optionally whole words only.
#pragma once

#include <functional>

#include "memo/engine/search/CharSource.h"
#include "memo/engine/search/SkipTable.h"

namespace velora::memo {

// Decides word characters for whole-word searches.
using WordCharTest = std::function<bool(unsigned char)>;

// The default word characters: letters, digits, "_" and every byte from 128 (UTF-8 sequences).
[[nodiscard]] bool DefaultWordChar(unsigned char c) noexcept;

// The first match starting at or after `from` (and before `to`, -1 = the end), or -1; `end`
// receives the end of the match (letter case folded, it may differ in length from the
// pattern). With a word test only matches with no word character directly before and after
// count.
[[nodiscard]] Pos PlainFindForward(const CharSource& src, const TSkipTable& pattern, Pos from,
                                   const WordCharTest* wholeWord = nullptr, Pos to = -1, Pos* end = nullptr);
// The last match starting before `before`, or -1.
[[nodiscard]] Pos PlainFindBackward(const CharSource& src, const TSkipTable& pattern, Pos before,
                                    const WordCharTest* wholeWord = nullptr, Pos* end = nullptr);

}  // namespace velora::memo
