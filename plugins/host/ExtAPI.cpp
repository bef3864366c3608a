// The 27 functions the program exports to its plug-ins. This file is compiled
// into the executable itself (plug-ins find the functions with dlsym on the
// program's own handle), and only these names are exported (ExtAPI.dynlist),
// so that none of them can stand in for a symbol of a library loaded later.
//
// Each function forwards to the host of the running main window. An exception
// raised inside the host never reaches the plug-in: it becomes the function's
// failure value, and the host shows nothing.
#include "plugins/PlugInHost.h"
#include "sdk/velora_plugin.h"

#include <exception>

namespace {

template <class Result, class Body>
Result Guarded(Result failure, Body&& body) noexcept {
    vlr::PlugInHost* host = vlr::PlugInHost::Current();
    if (host == nullptr)
        return failure;
    try {
        return body(*host);
    } catch (...) {
        return failure;
    }
}

template <class Body>
void GuardedVoid(Body&& body) noexcept {
    vlr::PlugInHost* host = vlr::PlugInHost::Current();
    if (host == nullptr)
        return;
    try {
        body(*host);
    } catch (...) {
    }
}

}  // namespace

#define VLR_HOST extern "C" __attribute__((visibility("default"), used))

VLR_HOST int32_t EditorAvailable() {
    return Guarded<int32_t>(0, [](vlr::PlugInHost& h) { return h.EditorAvailable(); });
}
VLR_HOST int32_t ReplaceText(const char* Text) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.InsertText(Text); });
}
VLR_HOST int32_t InsertText(const char* Text) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.InsertText(Text); });
}
VLR_HOST int32_t StatusText(const char* Text) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.StatusText(Text); });
}
VLR_HOST int32_t GetProjName(char* Buffer, int32_t Size) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.GetProjName(Buffer, Size); });
}
VLR_HOST void SetGauge(int32_t Max) {
    GuardedVoid([&](vlr::PlugInHost& h) { h.SetGauge(Max); });
}
VLR_HOST void ResetGauge() {
    GuardedVoid([](vlr::PlugInHost& h) { h.ResetGauge(); });
}
VLR_HOST void IncGauge() {
    GuardedVoid([](vlr::PlugInHost& h) { h.IncGauge(); });
}
VLR_HOST void GaugePos(int32_t Pos) {
    GuardedVoid([&](vlr::PlugInHost& h) { h.GaugePos(Pos); });
}
VLR_HOST void NetCon(int32_t State) {
    GuardedVoid([&](vlr::PlugInHost& h) { h.NetCon(State); });
}
VLR_HOST intptr_t GetHandle(int32_t Which) {
    return Guarded<intptr_t>(0, [&](vlr::PlugInHost& h) { return h.GetHandle(Which); });
}
VLR_HOST int32_t BuildProject() {
    return Guarded<int32_t>(0, [](vlr::PlugInHost& h) { return h.BuildProject(); });
}
VLR_HOST int32_t DispAbout(const TPlugInAbout* Info) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.DispAbout(Info); });
}
VLR_HOST int32_t OpenDocument(const char* FileName) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.OpenDocument(FileName); });
}
VLR_HOST int32_t CreateEditor() {
    return Guarded<int32_t>(0, [](vlr::PlugInHost& h) { return h.CreateEditor(); });
}
VLR_HOST int32_t AddToProject(const char* FileName) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.AddToProject(FileName); });
}
VLR_HOST int32_t GetBuildNum(TBuildNumber* Info) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.GetBuildNum(Info); });
}
VLR_HOST int32_t GetText(char* Buffer, int32_t MaxLen) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.GetText(Buffer, MaxLen, false); });
}
VLR_HOST int32_t GetTextBufSize() {
    return Guarded<int32_t>(-1, [](vlr::PlugInHost& h) { return h.GetTextBufSize(false); });
}
VLR_HOST int32_t GetSelTextBufSize() {
    return Guarded<int32_t>(-1, [](vlr::PlugInHost& h) { return h.GetTextBufSize(true); });
}
VLR_HOST int32_t GetSelText(char* Buffer, int32_t MaxLen) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.GetText(Buffer, MaxLen, true); });
}
VLR_HOST const char* GetCarPos() {
    return Guarded<const char*>(nullptr, [](vlr::PlugInHost& h) { return h.GetCarPos(); });
}
VLR_HOST int32_t SetText(const char* Text) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.SetText(Text, false); });
}
VLR_HOST int32_t SetSelText(const char* Text) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.SetText(Text, true); });
}
VLR_HOST int32_t SetSelStart(int32_t Start) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.SetSelNumber(Start, false); });
}
VLR_HOST int32_t SetSelLength(int32_t Length) {
    return Guarded<int32_t>(0, [&](vlr::PlugInHost& h) { return h.SetSelNumber(Length, true); });
}
VLR_HOST int32_t GetVLRType() { return 0; }
