// One loaded plug-in library: its display name, its module and the entry
// points the program calls later.
#pragma once

#include "sdk/velora_plugin.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace vlr {

struct TTestPlugIn {
    std::string PlugInName;
    void* LibHandle = nullptr;
    VlrExecProc ExecProc = nullptr;
    VlrShowAboutProc ShowAboutProc = nullptr;
    VlrNeedsEditorProc NeedsEditorProc = nullptr;
    VlrNeedsMenuItemProc NeedsMenuItemProc = nullptr;
};

// Why a library was not taken as a plug-in.
class PlugInRejected : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Loads the library at `path`, finds all six entry points, then calls "Init"
// with `host` and "GetName". Throws PlugInRejected with the reason when the
// library cannot be loaded, lacks an entry point, or its "Init" or "GetName"
// throws or gives no name; no entry point is called before all six are found.
// The library stays loaded for the rest of the run once "Init" was called.
std::unique_ptr<TTestPlugIn> LoadPlugInLibrary(const std::string& path, void* host);

// Boolean results count by their lowest byte.
inline bool PlugInTrue(int32_t result) { return (result & 0xFF) != 0; }

}  // namespace vlr
