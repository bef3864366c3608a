// The core module: the site build and the source-to-output folder mapping.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/vlrcore/MessageReporter.h"
#include "libs/vlrcore/ShortString.h"
#include "libs/vlrcore/TrustQuestion.h"
#include "project/build/RelativeFolder.h"
#include "project/build/SiteBuild.h"
#include "project/build/SystemEnvironment.h"

#include <exception>
#include <type_traits>

using vlr::core::FromShortString;
using vlr::build::RelativeFolder;
using vlr::core::ToShortString;

// Builds the whole project (empty source path) or one file into the
// project's output folder; with the flag set (any non-zero value) the one
// page goes beside its source with ".htm". Progress and result reach the
// given window as messages 3058-3061. Returns 1 when every page was built.
// Before the build first reads or writes outside the project's folder, the
// user is asked whether the project is trusted (see TrustQuestion.h).
VLR_ENTRY_POINT std::int32_t ProcessProject(const char* projectFile, const char* sourceFile, vlr::Handle mainWindow,
                                            std::int32_t, std::int32_t flag) {
    vlr::build::BuildRequest request;
    request.projectFile = vlr::modules::TextFrom(projectFile);
    request.sourceFile = vlr::modules::TextFrom(sourceFile);
    request.preview = flag != 0;
    request.environment = vlr::build::SystemBuildEnvironment();
    request.allowOutside = [&request](const std::string& outside) {
        return vlr::core::MayBuildOutside(request.projectFile, outside);
    };
    vlr::core::MessageReporter reporter(mainWindow);
    try {
        return vlr::build::BuildSite(request, reporter).ok ? 1 : 0;
    } catch (const std::exception& e) {
        // Nothing may unwind into the caller through the C boundary.
        reporter.StatusText(std::string("The build stopped: ") + e.what());
        reporter.Finished();
        return 0;
    }
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
