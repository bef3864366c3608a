// The markup of a built page checked by libtidy in its HTML5 mode: elements
// not closed or crossed, unknown elements and attributes, attributes given
// twice and other markup errors. The project's own tokens the build leaves
// in a page ("<%...%>" server script, "<&...&>" when includes are off) are
// blanked out first, so they are neither reported nor shift a position.
#pragma once

#include "project/check/PageScan.h"

#include <string>
#include <vector>

namespace vlr::check {

// The page with every "<%...%>" and "<&...&>" that ends on its line replaced
// by blanks of the same length.
std::string ProtectTokens(const std::string& html);

// Tidy's findings, with the rule each belongs to and its byte offset in `html`.
std::vector<Finding> TidyFindings(const std::string& html);

}  // namespace vlr::check
