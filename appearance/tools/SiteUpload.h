// Starting a site upload: the upload module is loaded for each upload, its
// wizard run owned by the main window, and the module released again.
#pragma once

#include "platform/Window.h"

namespace vlr {

inline constexpr const char* kUploadErrorCaption = "Upload Error";
inline constexpr const char* kUploadLibraryMissingText =
    "A required library (Webpost.dll) is missing, please reinstall Velora";
inline constexpr const char* kUploadFailedText =
    "Site Upload Failed.  You may have a corrupted library (webpost.dll)\nPlease try reinstalling Velora";

// Loads "webpost.dll", calls WpPostA with the owner, flag 0, both texts empty
// and a length of 0, and releases it. A module that cannot be loaded, or a
// call that fails (no entry point, an answer of 0), is reported with the
// upload error texts. True when the wizard ran.
bool StartSiteUpload(Handle owner);

}  // namespace vlr
