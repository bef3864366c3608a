// Whether a build in the program may go outside the project's folder (see
// project/build/BuildGuard.h): yes for a project the user trusts; otherwise
// the user is asked, once per project, naming what lies outside. Yes is kept
// in the user's own folder (trusted.dat), never in the project file; No holds
// for as long as the program runs, so later builds stop without asking again.
#pragma once

#include <string>

namespace vlr::core {

inline constexpr const char* kTrustCaption = "Untrusted Project";

bool MayBuildOutside(const std::string& projectFile, const std::string& outside);

}  // namespace vlr::core
