// The link-check module.
//
// Link checks are not offered yet: DoValidate checks nothing (and so never
// announces network activity to the main window), and GetHint has no hint for
// any text.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"

#include <type_traits>

VLR_ENTRY_POINT void DoValidate(vlr::Handle, const char*, vlr::Handle) {}

// The hint lives as long as the module, so the caller may keep the address.
VLR_ENTRY_POINT const char* GetHint(vlr::Handle, const char*) {
    static const char kNoHint[] = "";
    return kNoHint;
}

static_assert(std::is_same_v<decltype(&DoValidate), DoValidateFn>);
static_assert(std::is_same_v<decltype(&GetHint), GetHintFn>);
