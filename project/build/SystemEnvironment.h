// The environment of a build inside the running program: the current time
// and date in the user's short formats, the program's folder, the system
// folders and the build number, as the program's own internal variables show them.
#pragma once

#include "project/build/BuildVariables.h"

namespace vlr::build {

BuildEnvironment SystemBuildEnvironment();

}  // namespace vlr::build
