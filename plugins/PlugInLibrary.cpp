#include "plugins/PlugInLibrary.h"

#include <dlfcn.h>

#include <exception>

namespace vlr {
namespace {

template <class Proc>
Proc Find(void* library, const char* name) {
    return reinterpret_cast<Proc>(::dlsym(library, name));
}

std::string Described(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

}  // namespace

std::unique_ptr<TTestPlugIn> LoadPlugInLibrary(const std::string& path, void* host) {
    // RTLD_LOCAL: one plug-in's names never stand in for another's.
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        throw PlugInRejected(std::string("cannot be loaded (") + (why ? why : "unknown error") + ")");
    }
    auto init = Find<VlrInitProc>(library, "Init");
    auto getName = Find<VlrGetNameProc>(library, "GetName");
    auto plugIn = std::make_unique<TTestPlugIn>();
    plugIn->LibHandle = library;
    plugIn->ExecProc = Find<VlrExecProc>(library, "Exec");
    plugIn->ShowAboutProc = Find<VlrShowAboutProc>(library, "iShowAboutEx");
    plugIn->NeedsEditorProc = Find<VlrNeedsEditorProc>(library, "iNeedsEditor");
    plugIn->NeedsMenuItemProc = Find<VlrNeedsMenuItemProc>(library, "iNeedsMenuItem");
    const std::pair<const char*, bool> found[] = {
        {"Init", init != nullptr},
        {"GetName", getName != nullptr},
        {"Exec", plugIn->ExecProc != nullptr},
        {"iShowAboutEx", plugIn->ShowAboutProc != nullptr},
        {"iNeedsEditor", plugIn->NeedsEditorProc != nullptr},
        {"iNeedsMenuItem", plugIn->NeedsMenuItemProc != nullptr},
    };
    for (const auto& [name, present] : found) {
        if (!present) {
            // Nothing of the library has run yet, so it can go again.
            ::dlclose(library);
            throw PlugInRejected(std::string("has no entry point \"") + name + "\"");
        }
    }
    // From here on the library's code has run and may have left state (such
    // as threads or handlers) behind: it stays loaded.
    try {
        init(host);
    } catch (...) {
        throw PlugInRejected("failed in \"Init\": " + Described(std::current_exception()));
    }
    const char* name = nullptr;
    try {
        name = getName();
    } catch (...) {
        throw PlugInRejected("failed in \"GetName\": " + Described(std::current_exception()));
    }
    if (name == nullptr || *name == '\0')
        throw PlugInRejected("gives no name");
    plugIn->PlugInName = name;
    return plugIn;
}

}  // namespace vlr
