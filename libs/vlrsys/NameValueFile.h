// The name/value exchange file of the variables dialog: an entry count, then
// per entry a name and a value, each a length followed by its bytes (32-bit
// little-endian signed integers).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vlr::sys {

using NameValues = std::vector<std::pair<std::string, std::string>>;

// The entries of the file; nothing when it cannot be read or is damaged.
std::optional<NameValues> ReadNameValues(const std::string& path, std::string* error = nullptr);
// Replaces the file (through a temporary file); false when that fails.
bool WriteNameValues(const std::string& path, const NameValues& entries, std::string* error = nullptr);

// Why a variable cannot be stored in a project file, or "" when it can: a
// name must be non-empty, hold no "=", no line break and no leading "[" or
// ";", and must differ from every earlier name (letter case ignored, as the
// project file compares keys); a value may hold no line break.
std::string VariableProblem(const NameValues& entries, std::size_t index);

}  // namespace vlr::sys
