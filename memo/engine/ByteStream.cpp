// Memory stream of the editor control.
#include "memo/engine/ByteStream.h"

#include <algorithm>
#include <cstring>

namespace velora::memo {

std::size_t MemoryStream::read(char* buf, std::size_t n) {
  const auto avail = static_cast<std::size_t>(std::max<std::int64_t>(0, size() - pos_));
  n = std::min(n, avail);
  if (n) std::memcpy(buf, data_.data() + pos_, n);
  pos_ += static_cast<std::int64_t>(n);
  return n;
}

void MemoryStream::write(const char* buf, std::size_t n) {
  const auto p = static_cast<std::size_t>(pos_);
  if (p + n > data_.size()) data_.resize(p + n);
  if (n) std::memcpy(data_.data() + p, buf, n);
  pos_ += static_cast<std::int64_t>(n);
}

void MemoryStream::seek(std::int64_t pos) { pos_ = std::clamp<std::int64_t>(pos, 0, size()); }

}  // namespace velora::memo
