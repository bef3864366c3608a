// What the exported host functions do, on the main window's services. The
// exported C functions (plugins/host/ExtAPI.cpp) have no context argument, so
// they reach the one host of the running main window through Current(): the
// plug-in unit registers its host when it is built and withdraws it when it
// goes. Without a host every function answers its failure value.
//
// Texts cross as zero-ended bytes in UTF-8 (PlugInText.h). No exception
// leaves these functions' exported wrappers.
#pragma once

#include "sdk/velora_plugin.h"

#include <cstdint>
#include <string>

namespace vlr {

class ShellServices;

// The numbers of "1.0.0.1190": the text with "." appended, split at every
// "."; false (and `info` untouched) with fewer than four parts or a part
// that is not a decimal number.
bool ParseBuildNumber(const std::string& version, TBuildNumber& info);

class PlugInHost {
public:
    explicit PlugInHost(ShellServices& shell);
    ~PlugInHost();
    PlugInHost(const PlugInHost&) = delete;
    PlugInHost& operator=(const PlugInHost&) = delete;

    static PlugInHost* Current();

    int32_t EditorAvailable();
    int32_t InsertText(const char* text);
    int32_t StatusText(const char* text);
    int32_t GetProjName(char* buffer, int32_t size);
    void SetGauge(int32_t max);
    void ResetGauge();
    void IncGauge();
    void GaugePos(int32_t pos);
    void NetCon(int32_t state);
    intptr_t GetHandle(int32_t which);
    int32_t BuildProject();
    int32_t DispAbout(const TPlugInAbout* info);
    int32_t OpenDocument(const char* fileName);
    int32_t CreateEditor();
    int32_t AddToProject(const char* fileName);
    int32_t GetBuildNum(TBuildNumber* info);
    int32_t GetText(char* buffer, int32_t maxLen, bool selection);
    int32_t GetTextBufSize(bool selection);
    const char* GetCarPos();
    int32_t SetText(const char* text, bool selection);
    int32_t SetSelNumber(int32_t value, bool length);

private:
    enum class Child { None, Other, Editor };
    Child ActiveChild() const;
    // Sends a query to the active editor window and returns the answer record's texts.
    std::pair<std::string, std::string> Query(unsigned msg) const;
    void Command(unsigned msg, const std::string& first, const std::string& second = {},
                 const std::string& third = {}) const;
    bool ProjectOpen() const;

    ShellServices& shell_;
    std::string caretText_;
};

}  // namespace vlr
