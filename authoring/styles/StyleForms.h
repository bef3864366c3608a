// The three forms in which a stored style is inserted: a whole style
// element, a style rule, or a style attribute. CR is one carriage return.
#pragma once

#include "authoring/styles/StyleSheets.h"

#include <string>
#include <string_view>

namespace vlr::authoring {

enum class StyleForm {
    FullStyleTag,     // <style type="text/css"><!-- rule --></style>
    StyleDefinition,  // the rule alone
    StyleAttribute,   // style="..."
};

// The text of one form. Only the words "STYLE TYPE" and "STYLE" take the tag
// case; names and values are written as stored. Under "Write modern HTML"
// the whole element is a bare <style> without the comment wrapper.
[[nodiscard]] std::string StyleText(const TStyleSheet& style, StyleForm form, bool lowerTags, bool modern = false);

// The form of the first style called `name`; "" when there is none.
[[nodiscard]] std::string StyleTextByName(const TCSSList& list, std::string_view name, StyleForm form,
                                          bool lowerTags, bool modern = false);

}  // namespace vlr::authoring
