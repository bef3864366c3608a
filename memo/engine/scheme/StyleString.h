// The text forms in which a language's settings are kept in a system registry: the style string
// (display settings and style effects) and the key assignments value (the key table). The
// registry itself exists only on Windows; these functions are the format, usable anywhere.
//
// Style string: "Tavrin6:", then thirteen items in this order, each "#", a three-letter key, "#",
// the decimal length of the value and the value, then "#END#":
//   OPT options, GWD gutter width, GCL gutter colour, WRC word-wrap column, IDS indent step,
//   WRO wrap-override characters, FON font name, FOS font size, STC selected-text colour,
//   STB selected-text background, TBC tab columns, TBD default tab, EFF effects.
// Numbers are decimal; a colour that uses the control's default is written as -1. EFF is the
// number of styles that have an effect (at most 255), then per style "index,foreground,
// background," followed by X (default foreground), Y (default background), B, I, U as they
// apply, and ";".
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

inline constexpr std::string_view kRegistryMarker = "Tavrin6:";
inline constexpr const char* kInvalidStyleString = "Invalid data in style string";
inline constexpr const char* kInvalidRegistryEntry = "Invalid data in registry entry";
// Most styles the EFF item can list.
inline constexpr std::size_t kMaxStyleStringEffects = 255;

// The style string of the settings and effects of `tables`.
[[nodiscard]] std::string WriteStyleString(const TSchemeTables& tables);

// Reads a style string into the settings and effects of `tables`. All or nothing: malformed
// text throws velora::memo::ESyntaxMemo "Invalid data in style string" and leaves `tables` as
// it was. Styles the string lists get its colours and font style (their hot-spot flag stays);
// styles it does not list have no effect afterwards.
void ReadStyleString(std::string_view text, TSchemeTables& tables);

// The key assignments value: "Tavrin6:" followed by the key table as the stored form writes it.
[[nodiscard]] std::string WriteKeyAssignments(const TKeyTable& keys);

// Reads a key assignments value; throws velora::memo::ESyntaxMemo "Invalid data in registry
// entry" when the marker is missing or the table is malformed.
[[nodiscard]] TKeyTable ReadKeyAssignments(std::string_view raw);

}  // namespace vlr
