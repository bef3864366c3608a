// The tab columns text of the language settings: a list of one-based column numbers separated by
// blanks, commas, tabs or semicolons, stored as zero-based columns with -1 for free entries.
#pragma once

#include <array>
#include <string_view>

#include "memo/engine/Types.h"
#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

// Parses the tab columns text. Throws velora::memo::ESyntaxMemo with "Tab stop column value
// expected", "Too many tab stops - maximum of 32", "Tab column must be > 1" or "Tab columns must
// be in order and unique".
[[nodiscard]] std::array<int, kMaxTabStops> ParseTabStops(std::string_view text);

// Checks a default tab width; throws velora::memo::ESyntaxMemo
// "=Illegal default tab stop value, must be > 0" unless it is positive.
void CheckDefaultTab(long long width);

}  // namespace vlr
