// Line-break normalisation: every CR LF, LF CR, lone CR and lone LF becomes one stored CR.
#pragma once

#include <string>
#include <string_view>

namespace velora::memo {

// The break style of a loaded file, so that a document can be saved in the style it came in.
enum class BreakStyle { LF, CRLF, CR, LFCR };

// Pairs are read left to right: "\r\n\r" is one pair and a lone CR, i.e. two breaks.
[[nodiscard]] std::string normaliseBreaks(std::string_view in);
// Length of normaliseBreaks(in) without building it.
[[nodiscard]] std::size_t normalisedLength(std::string_view in) noexcept;
// The style of the first break in the text; LF when there is none (a new document uses LF).
[[nodiscard]] BreakStyle detectBreakStyle(std::string_view in) noexcept;
// The stored text with each CR written in the given style.
[[nodiscard]] std::string exportBreaks(std::string_view stored, BreakStyle style);

// Streaming form for chunked insertion: a trailing CR or LF that may be the first half of a pair
// is held back and handled with the next chunk, so that a pair is never split.
class BreakNormaliser {
 public:
  // Appends the normalised form of chunk to out; final = no more input follows.
  void feed(std::string_view chunk, bool final, std::string& out);

 private:
  char held_ = 0;
};

}  // namespace velora::memo
