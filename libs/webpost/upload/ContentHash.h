// SHA-256 content hashes of files, as lower-case hexadecimal text.
#pragma once

#include <optional>
#include <string>

namespace vlr::upload {

// The hash of a file's bytes; nothing when the file cannot be read.
std::optional<std::string> HashFile(const std::string& path, std::string* error = nullptr);
// The hash of a text's bytes.
std::string HashText(const std::string& text);

}  // namespace vlr::upload
