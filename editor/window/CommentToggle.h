// Toggle comment: the comment form of the language under the caret (HTML "<!-- -->", CSS
// "/* */" inside a style element, JavaScript "//" inside a script element), known from the
// token values the HTML scheme gives the text, and the text of whole lines with the comment
// put on or taken off.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vlr {

enum class CommentForm { Html, Css, Script };

// The comment form of text carrying this token value of the HTML scheme.
[[nodiscard]] CommentForm CommentFormOf(std::uint8_t token) noexcept;

// Lines (breaks as stored, CR) commented, or uncommented when they already are: HTML and CSS
// wrap the whole text after its indentation and before its trailing blanks; scripts put "// "
// after each non-blank line's indentation, and take "//" (with one blank after it) off when
// every non-blank line has it.
[[nodiscard]] std::string ToggleCommentText(std::string_view lines, CommentForm form);

// One change a toggle makes, at a byte offset of the original lines: `removed` bytes there
// replaced by `inserted` bytes. An opening mark inserted where the caret is takes the caret
// along; a closing mark is put after it.
struct CommentEdit {
    std::size_t at = 0, removed = 0, inserted = 0;
    bool opening = true;
};
struct ToggledComment {
    std::string text;
    std::vector<CommentEdit> edits;  // in order of `at`
};
[[nodiscard]] ToggledComment ToggleComment(std::string_view lines, CommentForm form);
// Where a byte offset of the original lines is in the toggled text: text around the marks keeps
// its place, an offset inside a removed mark goes to where the mark was.
[[nodiscard]] std::size_t MapThroughComment(std::size_t offset, const std::vector<CommentEdit>& edits) noexcept;

}  // namespace vlr
