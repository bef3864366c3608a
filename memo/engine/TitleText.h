// The title text as the control shows it in printed headers and exported pages.
#pragma once

#include <string>
#include <string_view>

namespace velora::memo {

// With smoTitleAsFilename the title holds a file's path and is shown as the file's name (the
// part after the last folder separator, "/" or "\"); otherwise it is shown as it is.
inline std::string shownTitle(std::string_view title, bool asFileName) {
  if (asFileName) {
    const std::size_t slash = title.find_last_of("/\\");
    if (slash != std::string_view::npos && slash + 1 < title.size()) title.remove_prefix(slash + 1);
  }
  return std::string(title);
}

}  // namespace velora::memo
