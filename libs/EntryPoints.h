// The entry points of the program's outside modules, as the program binds them
// by name. Every entry point uses the C calling convention; texts are
// zero-terminated single-byte strings; short texts (DoPathEx) are a length byte
// followed by at most 255 characters.
#pragma once

#include "platform/Window.h"

#include <cstddef>
#include <cstdint>

class QWidget;

extern "C" {

// What the exception report is told about an exception.
struct VlrExceptionInfo {
    const char* className;  // e.g. "EConvertError"
    const char* message;
};

// A short text: length byte, then the characters.
using VlrShortString = unsigned char[256];

// vlrsys
using ExceptCenterFn = void (*)(vlr::Handle app, vlr::Handle mainWindow, void* sender,
                                const VlrExceptionInfo* exception, const char* preferencesPath,
                                const char* methodName, const char* fileVersion, const char* fileName);
using NewProjFn = std::int32_t (*)(vlr::Handle app, vlr::Handle mainWindow);
using DoVarsFn = std::uint8_t (*)(vlr::Handle app);
using ShowProjPrefFn = std::uint8_t (*)(vlr::Handle app, vlr::Handle mainWindow);
using DoPrefFn = void (*)(vlr::Handle app, vlr::Handle mainWindow);
using ShowObjRepFn = void (*)(vlr::Handle app, vlr::Handle mainWindow);
using AddObjRepFn = void (*)(vlr::Handle app, vlr::Handle mainWindow, const char* path);
using DlFromWebFn = void (*)(vlr::Handle app, vlr::Handle mainWindow);
using AddToolFn = void (*)(vlr::Handle app, vlr::Handle mainWindow);

// vlrcore
using ProcessProjectFn = std::int32_t (*)(const char* projectFile, const char* sourceFile,
                                          vlr::Handle mainWindow, std::int32_t reserved, std::int32_t flag);
// Writes the result short text to *result.
using DoPathExFn = void (*)(const unsigned char* sourceDir, const unsigned char* fileDir,
                            const unsigned char* outputDir, unsigned char* result);

// extdlgs
using ShowHLinkFn = void (*)(vlr::Handle app, vlr::Handle mainWindow);
using InsertDialogFn = void (*)(vlr::Handle mainWindow, vlr::Handle editorWindow, const char* lowerCase);
using InsCSSFn = void (*)(vlr::Handle mainWindow, vlr::Handle editorWindow);

// coldlg
using ColDlgInitExFn = std::int32_t (*)(char* buffer, std::int32_t size);

// iview
using IViewDispFn = void (*)(vlr::Handle app, const char* imagePath, vlr::Handle mainWindow);

// webpost: runs the upload wizard; returns 1 when it ran (it reports upload
// problems itself), 0 when it could not run.
using WpPostAFn = std::int32_t (*)(vlr::Handle owner, std::int32_t hasFirst, char* first,
                                   std::int32_t* secondLength, char* second, std::int32_t, std::int32_t,
                                   std::int32_t);

// preview: the browser control of the editor windows' preview page.
using PreviewCreateFn = QWidget* (*)(QWidget* host);
using PreviewNavigateFn = void (*)(QWidget* browser, const char* address);
// Shows the page held in `pageFile` as though it stood at `pathInSite` (a
// path below the site folder, "/" between names) in `siteFolder`; the page
// and the files of that folder are all the browser loads. An empty
// `siteFolder`: the page alone.
using PreviewShowFn = void (*)(QWidget* browser, const char* pageFile, const char* siteFolder,
                               const char* pathInSite);
// The live preview. PreviewLiveShow shows `html` (served from memory) as the
// page at `pathInSite` of `siteFolder`; the first call loads it, later calls
// for the same page change the shown page in place, keeping its scroll
// position and form state. `marked` is the same text with each element's
// output offset (MarkElementOffsets); `serial` comes back to `shown` once the
// change is painted. PreviewLiveReveal marks and scrolls to the element
// built from the output at `offset`; a click in the page reports the clicked
// element's offset to `picked`.
// `patch`, when not null, is the change from the text shown before as one
// element's new text (PatchBetween); the page applies just that when it can.
struct PreviewLivePatch {
    std::size_t start;
    std::size_t oldEnd;
    std::size_t newEnd;
    const char* marked;
    std::size_t markedLength;
};
using PreviewLiveShowFn = void (*)(QWidget* browser, const char* html, std::size_t htmlLength, const char* marked,
                                   std::size_t markedLength, const char* siteFolder, const char* pathInSite,
                                   int serial, const PreviewLivePatch* patch);
using PreviewLiveRevealFn = void (*)(QWidget* browser, std::uint64_t offset);
using PreviewLivePickedFn = void (*)(void* context, std::uint64_t offset);
using PreviewLiveShownFn = void (*)(void* context, int serial);
using PreviewLiveEventsFn = void (*)(QWidget* browser, void* context, PreviewLivePickedFn picked,
                                     PreviewLiveShownFn shown);
// The browser's zoom (1.0: 100 %).
using PreviewZoomFn = void (*)(QWidget* browser, double factor);

// validate
using DoValidateFn = void (*)(vlr::Handle app, const char* address, vlr::Handle mainWindow);
using GetHintFn = const char* (*)(vlr::Handle app, const char* text);
}
