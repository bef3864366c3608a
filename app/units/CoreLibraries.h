// The outside modules and their entry points, bound by name. Five modules are
// bound at start-up; the upload and link-check modules are loaded on demand by
// their users.
#pragma once

#include "libs/EntryPoints.h"
#include "platform/Library.h"

#include <string>
#include <vector>

namespace vlr {

struct CoreEntryPoints {
    // vlrsys
    ExceptCenterFn ExceptCenter = nullptr;
    NewProjFn NewProj = nullptr;
    DoVarsFn DoVars = nullptr;
    ShowProjPrefFn ShowProjPref = nullptr;
    DoPrefFn DoPref = nullptr;
    ShowObjRepFn ShowObjRep = nullptr;
    AddObjRepFn AddObjRep = nullptr;
    DlFromWebFn DlFromWeb = nullptr;
    AddToolFn AddTool = nullptr;
    // vlrcore
    ProcessProjectFn ProcessProject = nullptr;
    DoPathExFn DoPathEx = nullptr;
    // extdlgs
    ShowHLinkFn ShowHLink = nullptr;
    InsertDialogFn InsTable = nullptr;
    InsertDialogFn InsActiveX = nullptr;
    InsertDialogFn InsJavaApp = nullptr;
    InsCSSFn InsCSS = nullptr;
    // coldlg
    ColDlgInitExFn ColDlgInitEx = nullptr;
    // iview
    IViewDispFn IViewDisp = nullptr;
};

class CoreLibraries {
public:
    // The modules bound at start-up, in binding order.
    static const std::vector<std::string>& StartupModules();

    ~CoreLibraries();
    // Loads the five start-up modules in order and looks up every entry point.
    // Returns false (binding nothing) when a module cannot be loaded; the name
    // of that module is then in failedModule().
    bool Bind();
    // Forgets every entry point and releases the modules.
    void Release();
    bool bound() const { return !handles_.empty(); }
    const std::string& failedModule() const { return failed_; }

    CoreEntryPoints entry;

private:
    std::vector<LibraryHandle> handles_;
    std::string failed_;
};

// The fatal message for a start-up module that cannot be loaded.
inline constexpr const char* kMissingLibraryText = "A required library was not found.  Please reinstall VLR";

}  // namespace vlr
