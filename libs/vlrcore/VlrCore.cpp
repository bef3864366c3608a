// The core module: the site build and the source-to-output folder mapping.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/vlrcore/RelativeFolder.h"
#include "libs/vlrcore/ShortString.h"

#include <type_traits>

using vlr::core::FromShortString;
using vlr::core::RelativeFolder;
using vlr::core::ToShortString;

// This module does not build sites yet, so every build request reports
// failure (0): a caller never sees a success for pages that were not written.
VLR_ENTRY_POINT std::int32_t ProcessProject(const char*, const char*, vlr::Handle, std::int32_t, std::int32_t) {
    return 0;
}

// The output directory is not needed for the answer: a file's folder under it
// is the same as its folder under the source directory.
VLR_ENTRY_POINT void DoPathEx(const unsigned char* sourceDir, const unsigned char* fileDir,
                              const unsigned char*, unsigned char* result) {
    if (!result)
        return;
    // Computed before writing: the caller may pass one of its inputs as result.
    std::string folder = RelativeFolder(FromShortString(sourceDir), FromShortString(fileDir));
    ToShortString(folder, result);
}

static_assert(std::is_same_v<decltype(&ProcessProject), ProcessProjectFn>);
static_assert(std::is_same_v<decltype(&DoPathEx), DoPathExFn>);
