// Pop-up menus of the main window: the dock menu and the drop-down menus of the Tags toolbar.
#include "app/commands/CommandTable.h"

namespace vlr::commands {
namespace {

using G = CommandGroup;
using K = EntryKind;

// Right mouse button over the top or the bottom dock.
constexpr CommandEntry kDockMenu[] = {
    {.kind = K::Check, .name = "MainToolbar2", .caption = "&Main Toolbar",
     .hint = "Show or hide the Main toolbar", .data = "TlbMain", .checked = true},
    {.kind = K::Check, .name = "EditToolbar2", .caption = "&Edit Toolbar",
     .hint = "Show or hide the Editor Options toolbar", .data = "TLBEditor", .checked = true},
    {.kind = K::Check, .name = "HTMLToolbar2", .caption = "&HTML Toolbar",
     .hint = "Show or hide the Tags toolbar", .data = "TlbHTML", .checked = true},
    {.kind = K::Check, .name = "FormsToolbar2", .caption = "&Forms Toolbar",
     .hint = "Show or hide the Form Elements toolbar", .data = "TLBForms", .checked = true},
    {.kind = K::Check, .name = "TextToolbar2", .caption = "&Text Toolbar",
     .hint = "Show or hide the Text Options toolbar", .data = "TlbText", .checked = true},
};

// Drop-down of "Quick HTML Codes".
constexpr CommandEntry kQuickCodes[] = {
    {.name = "H1", .caption = "Line Break", .hint = "Insert a line break", .group = G::Authoring},
    {.name = "P1", .caption = "Paragraph", .hint = "Insert a paragraph", .group = G::Authoring},
    {.name = "FONT1", .caption = "Font", .hint = "Insert a font with the chosen face and size",
     .group = G::Authoring},
    {.name = "STYLE1", .caption = "Style", .hint = "Insert a style block", .group = G::Authoring},
    {.name = "SPAN1", .caption = "Span", .hint = "Insert a span", .group = G::Authoring},
    {.name = "EM1", .caption = "Italic", .hint = "Insert italic text", .group = G::Authoring},
    {.name = "HR1", .caption = "Underline", .hint = "Insert underlined text",
     .group = G::Authoring},
    {.name = "TITLE1", .caption = "Title", .hint = "Insert the page title", .group = G::Authoring},
    {.name = "META1", .caption = "Meta", .hint = "Insert a meta tag", .group = G::Authoring},
    {.name = "E1", .caption = "Comment", .hint = "Insert a comment", .group = G::Authoring},
    {.name = "StartTag1", .caption = "Start Tag", .hint = "Insert \"<\"", .group = G::Authoring},
    {.name = "EndTag1", .caption = "End Tag", .hint = "Insert \">\"", .group = G::Authoring},
    {.name = "H11", .caption = "H1", .hint = "Insert a level 1 heading", .group = G::Authoring},
    {.name = "H21", .caption = "H2", .hint = "Insert a level 2 heading", .group = G::Authoring},
    {.name = "H31", .caption = "H3", .hint = "Insert a level 3 heading", .group = G::Authoring},
    {.name = "Address1", .caption = "Address", .hint = "Insert an address",
     .group = G::Authoring},
    {.name = "Center1", .caption = "Center", .hint = "Insert centred text", .group = G::Authoring},
    {.name = "Left1", .caption = "Left", .hint = "Insert a left-aligned paragraph",
     .group = G::Authoring},
    {.name = "Right1", .caption = "Right", .hint = "Insert a right-aligned paragraph",
     .group = G::Authoring},
    {.name = "Non1", .caption = "&&nbsp", .hint = "Insert a non-breaking space",
     .group = G::Authoring},
    {.name = "BlockQuote1", .caption = "Block Quote", .hint = "Insert a block quote",
     .group = G::Authoring},
    {.name = "Script1", .caption = "Script", .hint = "Insert a script", .group = G::Authoring},
    {.name = "Link1", .caption = "Link", .hint = "Insert a link", .group = G::Authoring},
    {.name = "Body1", .caption = "Body", .hint = "Insert the page body", .group = G::Authoring},
};

// Drop-down of "Extended Ascii Characters": each item inserts the numeric entity of the
// character it shows. The data is that character's code; "tm" stands for the trade mark
// sign, written by its Unicode number because the code-page number 153 is a control
// character in HTML.
constexpr CommandEntry kCharacters[] = {
    {.kind = K::Radio, .name = "CharSet60", .caption = "<", .group = G::Authoring, .data = "60",
     .checked = true, .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet62", .caption = ">", .group = G::Authoring, .data = "62",
     .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet169", .caption = "\u00a9", .group = G::Authoring,
     .data = "169", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet174", .caption = "\u00ae", .group = G::Authoring,
     .data = "174", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet8482", .caption = "tm", .group = G::Authoring,
     .data = "8482", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet163", .caption = "\u00a3", .group = G::Authoring,
     .data = "163", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet162", .caption = "\u00a2", .group = G::Authoring,
     .data = "162", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet165", .caption = "\u00a5", .group = G::Authoring,
     .data = "165", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet164", .caption = "\u00a4", .group = G::Authoring,
     .data = "164", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet167", .caption = "\u00a7", .group = G::Authoring,
     .data = "167", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet166", .caption = "\u00a6", .group = G::Authoring,
     .data = "166", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet168", .caption = "\u00a8", .group = G::Authoring,
     .data = "168", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet170", .caption = "\u00aa", .group = G::Authoring,
     .data = "170", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet171", .caption = "\u00ab", .group = G::Authoring,
     .data = "171", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet187", .caption = "\u00bb", .group = G::Authoring,
     .data = "187", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet181", .caption = "\u00b5", .group = G::Authoring,
     .data = "181", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet191", .caption = "\u00bf", .group = G::Authoring,
     .data = "191", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet182", .caption = "\u00b6", .group = G::Authoring,
     .data = "182", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet177", .caption = "\u00b1", .group = G::Authoring,
     .data = "177", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet247", .caption = "\u00f7", .group = G::Authoring,
     .data = "247", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet215", .caption = "\u00d7", .group = G::Authoring,
     .data = "215", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet185", .caption = "\u00b9", .group = G::Authoring,
     .data = "185", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet178", .caption = "\u00b2", .group = G::Authoring,
     .data = "178", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet179", .caption = "\u00b3", .group = G::Authoring,
     .data = "179", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet188", .caption = "\u00bc", .group = G::Authoring,
     .data = "188", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet189", .caption = "\u00bd", .group = G::Authoring,
     .data = "189", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet190", .caption = "\u00be", .group = G::Authoring,
     .data = "190", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet186", .caption = "\u00ba", .group = G::Authoring,
     .data = "186", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet192", .caption = "\u00c0", .group = G::Authoring,
     .data = "192", .radioGroup = "chars"},
    {.kind = K::Radio, .name = "CharSet193", .caption = "\u00c1", .group = G::Authoring,
     .data = "193", .radioGroup = "chars"},
};

// Drop-down of "Bullets": the data is the list type the item chooses.
constexpr CommandEntry kListStyles[] = {
    {.kind = K::Radio, .name = "Regular1", .caption = "&Regular", .hint = "Plain bulleted list",
     .group = G::Authoring, .data = "regular", .checked = true, .radioGroup = "lists"},
    {.kind = K::Radio, .name = "Circle1", .caption = "Circl&e", .hint = "List with circle bullets",
     .group = G::Authoring, .data = "circle", .radioGroup = "lists"},
    {.kind = K::Radio, .name = "Square1", .caption = "S&quare", .hint = "List with square bullets",
     .group = G::Authoring, .data = "square", .radioGroup = "lists"},
    {.kind = K::Radio, .name = "Numbers1", .caption = "&Numbers", .hint = "Numbered list",
     .group = G::Authoring, .data = "1", .radioGroup = "lists"},
    {.kind = K::Radio, .name = "SmallLetters1", .caption = "Small &Letters",
     .hint = "List numbered a, b, c", .group = G::Authoring, .data = "a", .radioGroup = "lists"},
    {.kind = K::Radio, .name = "CapitalLetters1", .caption = "Capital Le&tters",
     .hint = "List numbered A, B, C", .group = G::Authoring, .data = "A", .radioGroup = "lists"},
    {.kind = K::Radio, .name = "RomanNumeralsSmall1", .caption = "Roman Numerals (&Small)",
     .hint = "List numbered i, ii, iii", .group = G::Authoring, .data = "i",
     .radioGroup = "lists"},
    {.kind = K::Radio, .name = "RomanNumeralsCapital1", .caption = "Roman Numerals (&Capital)",
     .hint = "List numbered I, II, III", .group = G::Authoring, .data = "I",
     .radioGroup = "lists"},
};

constexpr PopupTable kPopups[] = {
    {"PopupMenu981", kDockMenu},
    {"QuickCodesMenu1", kQuickCodes},
    {"CharacterMenu1", kCharacters},
    {"ListStyleMenu1", kListStyles},
};

}  // namespace

std::span<const PopupTable> popupTables() {
    return kPopups;
}

}  // namespace vlr::commands
