// Sample plug-in: tidies the HTML of the selection, or of the whole document
// when nothing is selected, with libtidy.
#include "velora_plugin.h"

#include <dlfcn.h>
#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <cstring>
#include <string>

namespace {

void* host = nullptr;

template <class F>
F Host(const char* name) {
    return host ? reinterpret_cast<F>(dlsym(host, name)) : nullptr;
}

void Status(const char* text) {
    if (auto status = Host<VlrStatusText>("StatusText"))
        status(text);
}

void SetField(char (&field)[VLR_ABOUT_FIELD], const char* text) {
    std::strncpy(field, text, VLR_ABOUT_FIELD - 1);
}

// The tidied markup; false when libtidy could not make sense of it. A
// fragment (the selection) stays a fragment.
bool Tidy(const std::string& in, bool fragment, std::string& out) {
    TidyDoc doc = tidyCreate();
    // Buffers must be initialised before libtidy fills or frees them.
    TidyBuffer output;
    TidyBuffer errors;
    tidyBufInit(&output);
    tidyBufInit(&errors);
    tidyOptSetBool(doc, TidyForceOutput, yes);
    tidyOptSetBool(doc, TidyQuiet, yes);
    tidyOptSetBool(doc, TidyShowWarnings, no);
    tidyOptSetInt(doc, TidyWrapLen, 0);
    tidyOptSetInt(doc, TidyIndentContent, TidyAutoState);
    if (fragment)
        tidyOptSetInt(doc, TidyBodyOnly, TidyYesState);
    // The document keeps its own line breaks.
    if (in.find("\r\n") != std::string::npos)
        tidyOptSetInt(doc, TidyNewline, TidyCRLF);
    else if (in.find('\r') != std::string::npos)
        tidyOptSetInt(doc, TidyNewline, TidyCR);
    tidySetErrorBuffer(doc, &errors);
    int rc = tidyParseString(doc, in.c_str());
    if (rc >= 0)
        rc = tidyCleanAndRepair(doc);
    if (rc >= 0)
        rc = tidySaveBuffer(doc, &output);
    const bool ok = rc >= 0 && output.bp != nullptr;
    if (ok)
        out.assign(reinterpret_cast<const char*>(output.bp), output.size);
    tidyBufFree(&output);
    tidyBufFree(&errors);
    tidyRelease(doc);
    return ok;
}

}  // namespace

extern "C" {

VLR_PLUGIN_EXPORT int32_t Init(void* hostModule) {
    host = hostModule;
    return 0;
}
VLR_PLUGIN_EXPORT const char* GetName(void) { return "Tidy up HTML"; }
VLR_PLUGIN_EXPORT int32_t iNeedsMenuItem(void) { return 1; }
VLR_PLUGIN_EXPORT int32_t iNeedsEditor(void) { return 1; }

VLR_PLUGIN_EXPORT int32_t Exec(void) {
    auto selSize = Host<VlrGetSelTextBufSize>("GetSelTextBufSize");
    auto size = Host<VlrGetTextBufSize>("GetTextBufSize");
    auto getSel = Host<VlrGetSelText>("GetSelText");
    auto get = Host<VlrGetText>("GetText");
    auto setSel = Host<VlrSetSelText>("SetSelText");
    auto set = Host<VlrSetText>("SetText");
    if (!selSize || !size || !getSel || !get || !setSel || !set)
        return 0;
    const int32_t selected = selSize();
    const bool fragment = selected > 0;
    const int32_t length = fragment ? selected : size();
    if (length <= 0) {
        Status("Tidy up HTML: there is no HTML to tidy");
        return 0;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    if (!(fragment ? getSel : get)(text.data(), length))
        return 0;
    text.resize(std::strlen(text.c_str()));
    std::string tidied;
    if (!Tidy(text, fragment, tidied)) {
        Status("Tidy up HTML: the markup could not be tidied; the document is unchanged");
        return 0;
    }
    const int32_t done = fragment ? setSel(tidied.c_str()) : set(tidied.c_str());
    Status(done ? "Tidy up HTML: done" : "Tidy up HTML: the document could not be changed");
    return done;
}

VLR_PLUGIN_EXPORT int32_t iShowAboutEx(void) {
    TPlugInAbout about{};
    SetField(about.AboutTitle, "Tidy up HTML");
    SetField(about.AboutDate, "2026");
    SetField(about.AboutHolder, "the Velora developers");
    SetField(about.AboutComment, "Tidies the selection, or the whole document, with HTML Tidy.");
    SetField(about.AboutUrl, "https://www.html-tidy.org/");
    if (auto show = Host<VlrDispAbout>("DispAbout"))
        show(&about);
    return 0;
}

}  // extern "C"
