// The tag-case rule of inserted markup: only the 26 ASCII letters change,
// attribute values included; every other byte passes through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace vlr::authoring {

// Lower case when `lower` is true, else upper case.
[[nodiscard]] std::string TagCase(std::string_view text, bool lower);

}  // namespace vlr::authoring
