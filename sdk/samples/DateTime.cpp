// Sample plug-in: inserts the current date and time at the caret of the
// active document.
#include "velora_plugin.h"

#include <dlfcn.h>

#include <cstring>
#include <ctime>

namespace {

void* host = nullptr;

template <class F>
F Host(const char* name) {
    return host ? reinterpret_cast<F>(dlsym(host, name)) : nullptr;
}

void SetField(char (&field)[VLR_ABOUT_FIELD], const char* text) {
    std::strncpy(field, text, VLR_ABOUT_FIELD - 1);
}

}  // namespace

extern "C" {

VLR_PLUGIN_EXPORT int32_t Init(void* hostModule) {
    host = hostModule;
    return 0;
}
VLR_PLUGIN_EXPORT const char* GetName(void) { return "Insert date and time"; }
VLR_PLUGIN_EXPORT int32_t iNeedsMenuItem(void) { return 1; }
VLR_PLUGIN_EXPORT int32_t iNeedsEditor(void) { return 1; }

VLR_PLUGIN_EXPORT int32_t Exec(void) {
    auto insert = Host<VlrInsertText>("InsertText");
    if (!insert)
        return 0;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return insert(text);
}

VLR_PLUGIN_EXPORT int32_t iShowAboutEx(void) {
    TPlugInAbout about{};
    SetField(about.AboutTitle, "Insert date and time");
    SetField(about.AboutDate, "2026");
    SetField(about.AboutHolder, "the Velora developers");
    if (auto show = Host<VlrDispAbout>("DispAbout"))
        show(&about);
    return 0;
}

}  // extern "C"
