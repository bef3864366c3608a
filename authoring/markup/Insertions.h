// The markup of every fixed insertion command of the Insert menu, the
// quick-codes popup and the Text Options, Tags and Form Elements toolbars,
// with the mapping to current HTML that "Write modern HTML" selects.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vlr::authoring {

// Line break of inserted markup: line feed, then carriage return.
inline constexpr std::string_view kMarkupBreak = "\n\r";

// What a markup pair is sent with: the start markup, the end markup and the
// caret flag ("yes": the caret stands between them when nothing is selected;
// "no": after them).
struct Markup {
    std::string start;
    std::string end;
    std::string flag;
    bool operator==(const Markup&) const = default;
};

enum class InsertionKind {
    Fixed,  // start and end are given by the row
    Font,   // the start is built from the font-name and font-size boxes
};

struct Insertion {
    const char* command;  // objectName of the command in the command tables
    const char* handler;  // the handler method it runs ("LineBreak2Click")
    InsertionKind kind;
    const char* start;    // "" for none
    const char* end;
    const char* flag;
    // Under "Write modern HTML"; nullptr keeps the row's own markup.
    const char* modernStart = nullptr;
    const char* modernEnd = nullptr;
};

// Every fixed insertion command; the quick-codes rows in the popup's order.
[[nodiscard]] std::span<const Insertion> Insertions();
// The row of a command, nullptr for a command that is not an insertion.
[[nodiscard]] const Insertion* FindInsertion(std::string_view command);

// The markup a row sends, before the tag case is applied. Font rows take
// their start from FontStart with the two box texts.
[[nodiscard]] Markup MarkupOf(const Insertion& row, bool modern, std::string_view fontFace = {},
                              std::string_view fontSize = {});

// The font start: `<font face="FACE" size=SIZE>`, the texts taken as typed.
// Modern: a span whose style carries the family and the size (HTML sizes 1
// to 7 and -3 to +3 become the CSS size keywords, other texts pass through);
// an empty box leaves its property out.
[[nodiscard]] std::string FontStart(std::string_view face, std::string_view size, bool modern);
[[nodiscard]] std::string FontEnd(bool modern);

}  // namespace vlr::authoring
