// Markup of the insertions that are not fixed pairs: character entities,
// lists, the advert banner and the variable reference.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vlr::authoring {

// The initial character code of the entity button: "<".
inline constexpr int kInitialCharCode = 60;

// The character code an item of the character menu stands for: the code of
// the caption's first character in the Windows ANSI code page (the captions
// are UTF-8; the menu only holds ASCII and Latin-1 characters). The item
// "tm" stands for the trade-mark sign, 8482. nullopt for an empty caption or
// one whose first character is outside that range.
[[nodiscard]] std::optional<int> EntityCodeOfCaption(std::string_view caption);
// "&#CODE;".
[[nodiscard]] std::string EntityMarkup(int code);

// The list type an item of the list-style menu chooses; the caption is
// compared in lower case, ampersands included. nullopt for any other caption.
[[nodiscard]] std::optional<std::string> ListTypeForCaption(std::string_view caption);
// The list for a list type: a "regular" list has no type attribute; the
// numbering types (1, a, A, i, I) make an ordered list, the others a bulleted one. The
// fixed parts take the tag case; the type value is inserted unchanged.
[[nodiscard]] std::string ListMarkup(std::string_view listType, bool lowerTags);

// The "Created With VLR" banner link to `site` (no trailing "/"); only the
// element and attribute names take the tag case.
[[nodiscard]] std::string AdvertMarkup(std::string_view site, bool lowerTags);

// The reference to a variable: "<%NAME%>".
[[nodiscard]] std::string VariableMarkup(std::string_view name);

}  // namespace vlr::authoring
