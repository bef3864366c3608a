// The EditorConfig settings of a document: what the ".editorconfig" files of
// its folder and the folders above it say for its path (read with
// libeditorconfig), and what they mean for the text the editor writes.
#pragma once

#include "editor/document/DocumentFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace vlr {

struct EditorConfig {
    std::optional<bool> indentWithTabs;      // indent_style: tab / space
    std::optional<int> indentSize;           // indent_size in columns ("tab": the tab width)
    std::optional<int> tabWidth;             // tab_width
    std::optional<BreakStyle> endOfLine;     // end_of_line: lf / crlf / cr
    std::string charset;                     // charset in lower case; empty when not given
    std::optional<bool> trimTrailingWhitespace;
    std::optional<bool> insertFinalNewline;
    std::string error;                       // a file that could not be read, with the reason

    // True when any of the settings above is given.
    [[nodiscard]] bool any() const noexcept;
};

// The settings for the file at `path` (made absolute first). Files that say
// nothing give an empty result; a .editorconfig that cannot be parsed gives
// no settings and the reason in `error`.
EditorConfig ReadEditorConfig(const std::string& path);

// The stored text (one CR per break) as it is to be saved under `config`:
// trailing blanks of every line removed with trim_trailing_whitespace, and a
// break added to a non-empty text that does not end in one with
// insert_final_newline.
std::string ApplySaveRules(std::string_view storeText, const EditorConfig& config);

// A warning when the loaded text does not fit the charset `config` names
// ("utf-8" that is not UTF-8, "utf-8-bom" without its byte-order mark, or a
// UTF-16 file the editor cannot edit); empty when it fits or none is named.
std::string CheckCharset(std::string_view text, const EditorConfig& config, const std::string& fileName);

}  // namespace vlr
