// Sample plug-in: counts the words and characters of the active document and
// shows the result on the status bar.
#include "velora_plugin.h"

#include <dlfcn.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void* host = nullptr;

template <class F>
F Host(const char* name) {
    return host ? reinterpret_cast<F>(dlsym(host, name)) : nullptr;
}

void Status(const std::string& text) {
    if (auto status = Host<VlrStatusText>("StatusText"))
        status(text.c_str());
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
VLR_PLUGIN_EXPORT const char* GetName(void) { return "Word Count"; }
VLR_PLUGIN_EXPORT int32_t iNeedsMenuItem(void) { return 1; }
VLR_PLUGIN_EXPORT int32_t iNeedsEditor(void) { return 1; }

VLR_PLUGIN_EXPORT int32_t Exec(void) {
    auto size = Host<VlrGetTextBufSize>("GetTextBufSize");
    auto getText = Host<VlrGetText>("GetText");
    if (!size || !getText)
        return 0;
    const int32_t length = size();
    if (length < 0) {
        Status("Word Count: no document is open");
        return 0;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    if (!getText(text.data(), length))
        return 0;
    text.resize(std::strlen(text.c_str()));
    long words = 0;
    bool inWord = false;
    for (unsigned char c : text) {
        const bool space = std::isspace(c) != 0;
        if (!space && !inWord)
            ++words;
        inWord = !space;
    }
    Status("Words: " + std::to_string(words) + "   Characters: " + std::to_string(text.size()));
    return 1;
}

VLR_PLUGIN_EXPORT int32_t iShowAboutEx(void) {
    TPlugInAbout about{};
    SetField(about.AboutTitle, "Word Count");
    SetField(about.AboutDate, "2026");
    SetField(about.AboutHolder, "the Velora developers");
    SetField(about.AboutComment, "Counts the words and characters of the active document.");
    if (auto show = Host<VlrDispAbout>("DispAbout"))
        show(&about);
    return 0;
}

}  // extern "C"
