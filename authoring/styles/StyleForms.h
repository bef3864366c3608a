// The three forms in which a stored style is inserted: a whole style
// element, a style rule, or a style attribute. CR is one carriage return.
// Each writes only the properties that are set, and a rule starts with a
// selector a page can use: a plain style name "note" becomes the class
// selector ".note"; a name that is a selector already ("h1", ".note",
// "#top", "nav a") stays as it is.
#pragma once

#include "authoring/styles/StyleSheets.h"

#include <string>
#include <string_view>

namespace vlr::authoring {

enum class StyleForm {
    FullStyleTag,     // <style type="text/css"><!-- rule --></style>
    StyleDefinition,  // the rule alone
    StyleAttribute,   // style="..." with a leading blank, for inside a tag
};

// The selector of a rule for the style called `name`; "" for a blank name.
[[nodiscard]] std::string CssSelector(std::string_view name);

// The text of one form. Only the words "STYLE TYPE" and "STYLE" take the tag
// case; names and values are written as stored. Under "Write modern HTML"
// the whole element is a bare <style> without the comment wrapper.
[[nodiscard]] std::string StyleText(const TStyleSheet& style, StyleForm form, bool lowerTags, bool modern = false);

// The form of the first style called `name`; "" when there is none.
[[nodiscard]] std::string StyleTextByName(const TCSSList& list, std::string_view name, StyleForm form,
                                          bool lowerTags, bool modern = false);

}  // namespace vlr::authoring
