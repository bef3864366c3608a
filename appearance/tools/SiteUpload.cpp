#include "appearance/tools/SiteUpload.h"

#include "libs/EntryPoints.h"
#include "platform/Library.h"
#include "platform/Prompter.h"

namespace vlr {
namespace {

// Releases the module when the upload is over, however it ends.
struct ModuleRelease {
    LibraryHandle module;
    ~ModuleRelease() { FreeLibrary(module); }
};

}  // namespace

bool StartSiteUpload(Handle owner) {
    LibraryHandle module = LoadLibrary("webpost.dll");
    if (!module) {
        ShowMessage(MessageKind::Error, kUploadErrorCaption, kUploadLibraryMissingText);
        return false;
    }
    ModuleRelease release{module};
    auto post = reinterpret_cast<WpPostAFn>(GetProcAddress(module, "WpPostA"));
    char first[261] = {};
    char second[261] = {};
    std::int32_t secondLength = 0;
    if (!post || post(owner, 0, first, &secondLength, second, 0, 0, 0) == 0) {
        ShowMessage(MessageKind::Error, kUploadErrorCaption, kUploadFailedText);
        return false;
    }
    return true;
}

}  // namespace vlr
