// `velora --check PROJECT.vlr [--trust] [--format text|json]`: checks every
// page of a project's site without a window (see project/check/SiteCheck.h).
// Each problem goes to stdout as "FILE:LINE:COL: error|warning: message
// [rule]", FILE relative to the project file's folder, or with --format json
// as one JSON document; the count goes to stderr. Like the build, the check
// reads nothing outside the project's folder unless --trust is given.
#pragma once

#include <string>
#include <vector>

namespace vlr::cli {

// `arguments`: "--check" first, then the rest as given. Returns the exit
// code: 0 no errors, 1 errors found (or the check could not be done), 2 bad usage.
int RunCommandLineCheck(const std::vector<std::string>& arguments);

}  // namespace vlr::cli
