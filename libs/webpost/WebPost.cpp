// The upload module.
//
// Uploading is not offered yet: every request reports failure (0) and sends
// nothing, so the caller never reports a site as uploaded when it was not.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"

#include <type_traits>

VLR_ENTRY_POINT std::int32_t WpPostA(vlr::Handle, std::int32_t, char*, std::int32_t*, char*, std::int32_t,
                                     std::int32_t, std::int32_t) {
    return 0;
}

static_assert(std::is_same_v<decltype(&WpPostA), WpPostAFn>);
