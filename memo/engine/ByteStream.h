// Byte streams handed to the control (insert stream 0x0C06, write selection 0x0C07, undo type 4).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velora::memo {

// A seekable byte stream. Reads past the end return fewer bytes; writes append or overwrite.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  virtual std::size_t read(char* buf, std::size_t n) = 0;
  virtual void write(const char* buf, std::size_t n) = 0;
  [[nodiscard]] virtual std::int64_t position() const = 0;
  virtual void seek(std::int64_t pos) = 0;
  [[nodiscard]] virtual std::int64_t size() const = 0;

  void write(std::string_view s) { write(s.data(), s.size()); }
};

// A stream over an owned byte string.
class MemoryStream final : public ByteStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string data) : data_(std::move(data)) {}

  std::size_t read(char* buf, std::size_t n) override;
  void write(const char* buf, std::size_t n) override;
  [[nodiscard]] std::int64_t position() const override { return pos_; }
  void seek(std::int64_t pos) override;
  [[nodiscard]] std::int64_t size() const override { return static_cast<std::int64_t>(data_.size()); }
  using ByteStream::write;

  [[nodiscard]] const std::string& data() const noexcept { return data_; }
  std::string& data() noexcept { return data_; }

 private:
  std::string data_;
  std::int64_t pos_ = 0;
};

}  // namespace velora::memo
