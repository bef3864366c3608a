// The indentation a document already uses, read from its indented lines, and
// how new indentation is written for it: as its .editorconfig says, else as
// its text does, else as the editor's options say.
#pragma once

#include "editor/document/EditorConfig.h"
#include "memo/engine/Options.h"

#include <optional>
#include <string_view>

namespace vlr {

// Tabs when most indented lines start with a tab; otherwise spaces, one level
// being the step by which the indentation of a line most often grows over the
// line before it (the smallest indentation when it never grows). Nothing for a
// text without indented lines. `text` holds one CR per break.
std::optional<velora::memo::IndentStyle> DetectIndentation(std::string_view text);

// The style for new indentation: the .editorconfig's indent_style (with
// indent_size, else tab_width, else `tabWidth` for the width of a level), else
// the text's own, else FromOptions.
velora::memo::IndentStyle ChooseIndentation(const EditorConfig& config, std::string_view text, int tabWidth);

}  // namespace vlr
