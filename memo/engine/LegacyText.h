// Texts written for single-byte documents. Older scheme scripts and stored forms hold
// characters such as "£" as one Windows-1252 byte ('\xA3'); documents are UTF-8, so such a
// text is read as UTF-8 (the way the control shows a stray byte, Utf8.h) before it can match
// typed text or be inserted.
#pragma once

#include <string>
#include <string_view>

namespace velora::memo {

// `text` with every byte that is not part of a well-formed UTF-8 sequence replaced by the
// UTF-8 form of its Windows-1252 character. Well-formed UTF-8 comes back unchanged, so the
// conversion may be applied to a text more than once.
[[nodiscard]] std::string Windows1252AsUtf8(std::string_view text);

}  // namespace velora::memo
