#include "app/units/CoreLibraries.h"

namespace vlr {
namespace {
template <typename Fn>
void bindEntry(LibraryHandle lib, const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(GetProcAddress(lib, name));
}
}  // namespace

const std::vector<std::string>& CoreLibraries::StartupModules() {
    static const std::vector<std::string> names = {"coldlg.dll", "iview.dll", "vlrsys.dll", "vlrcore.dll",
                                                   "extdlgs.dll"};
    return names;
}

CoreLibraries::~CoreLibraries() { Release(); }

bool CoreLibraries::Bind() {
    Release();
    std::vector<LibraryHandle> loaded;
    for (const std::string& name : StartupModules()) {
        LibraryHandle h = LoadLibrary(name);
        if (!h) {
            failed_ = name;
            for (LibraryHandle l : loaded)
                FreeLibrary(l);
            return false;
        }
        loaded.push_back(h);
    }
    handles_ = loaded;
    LibraryHandle coldlg = loaded[0], iview = loaded[1], vlrsys = loaded[2], vlrcore = loaded[3],
                  extdlgs = loaded[4];
    bindEntry(vlrsys, "ExceptCenter", entry.ExceptCenter);
    bindEntry(vlrsys, "NewProj", entry.NewProj);
    bindEntry(vlrsys, "DoVars", entry.DoVars);
    bindEntry(vlrsys, "ShowProjPref", entry.ShowProjPref);
    bindEntry(vlrsys, "DoPref", entry.DoPref);
    bindEntry(vlrsys, "ShowObjRep", entry.ShowObjRep);
    bindEntry(vlrsys, "AddObjRep", entry.AddObjRep);
    bindEntry(vlrsys, "DlFromWeb", entry.DlFromWeb);
    bindEntry(vlrsys, "AddTool", entry.AddTool);
    bindEntry(vlrcore, "ProcessProject", entry.ProcessProject);
    bindEntry(vlrcore, "DoPathEx", entry.DoPathEx);
    bindEntry(extdlgs, "ShowHLink", entry.ShowHLink);
    bindEntry(extdlgs, "InsTable", entry.InsTable);
    bindEntry(extdlgs, "InsActiveX", entry.InsActiveX);
    bindEntry(extdlgs, "InsJavaApp", entry.InsJavaApp);
    bindEntry(extdlgs, "InsCSS", entry.InsCSS);
    bindEntry(coldlg, "ColDlgInitEx", entry.ColDlgInitEx);
    bindEntry(iview, "IViewDisp", entry.IViewDisp);
    return true;
}

void CoreLibraries::Release() {
    entry = CoreEntryPoints{};
    // The modules stay mapped until the program ends: their windows and Qt
    // classes may still be alive while the main window is torn down.
    handles_.clear();
}

}  // namespace vlr
