// The insertion dialogs module: hyperlink, table, Active-X control, Java
// applet and style-sheet dialogs.
//
// None of these dialogs is offered yet: the commands that open them are
// disabled, and a call leaves the document untouched (these entry points have
// no result through which to say more).
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"

#include <type_traits>

VLR_ENTRY_POINT void ShowHLink(vlr::Handle, vlr::Handle) {}
VLR_ENTRY_POINT void InsTable(vlr::Handle, vlr::Handle, const char*) {}
VLR_ENTRY_POINT void InsActiveX(vlr::Handle, vlr::Handle, const char*) {}
VLR_ENTRY_POINT void InsJavaApp(vlr::Handle, vlr::Handle, const char*) {}
VLR_ENTRY_POINT void InsCSS(vlr::Handle, vlr::Handle) {}

static_assert(std::is_same_v<decltype(&ShowHLink), ShowHLinkFn>);
static_assert(std::is_same_v<decltype(&InsTable), InsertDialogFn>);
static_assert(std::is_same_v<decltype(&InsActiveX), InsertDialogFn>);
static_assert(std::is_same_v<decltype(&InsJavaApp), InsertDialogFn>);
static_assert(std::is_same_v<decltype(&InsCSS), InsCSSFn>);
