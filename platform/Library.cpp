#include "platform/Library.h"

#include "platform/System.h"

#include <dlfcn.h>

namespace vlr {
namespace {
thread_local std::string lastError;

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}
}  // namespace

std::string LibraryFileFor(const std::string& name) {
    if (name.find('/') != std::string::npos)
        return name;
    std::string file = name;
    for (const char* ext : {".dll", ".DLL", ".Dll"}) {
        if (endsWith(file, ext)) {
            file.resize(file.size() - 4);
            file += ".so";
            break;
        }
    }
    return AppDir() + file;
}

LibraryHandle LoadLibrary(const std::string& name) {
    std::string file = LibraryFileFor(name);
    void* h = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* e = dlerror();
        lastError = e ? e : ("cannot load " + file);
    }
    return h;
}

void* GetProcAddress(LibraryHandle library, const std::string& entryPoint) {
    if (!library)
        return nullptr;
    dlerror();
    void* p = dlsym(library, entryPoint.c_str());
    if (!p) {
        const char* e = dlerror();
        lastError = e ? e : ("no entry point " + entryPoint);
    }
    return p;
}

void FreeLibrary(LibraryHandle library) {
    if (library)
        dlclose(library);
}

std::string LastLibraryError() { return lastError; }

}  // namespace vlr
