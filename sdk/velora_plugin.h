/* Velora plug-in interface.
 *
 * A plug-in is a shared library whose file name contains ".vlp" (any case),
 * placed in the "plugins" folder beside the program or in any folder below it.
 * It exports the six entry points declared under "Entry points" with C
 * linkage. The program calls them on its user-interface thread:
 *
 *   Init(host)      once, right after loading; `host` is the program's own
 *                   module handle (dlopen(NULL)); look the host functions up
 *                   in it with dlsym(host, "GetText") and so on.
 *   GetName()       once, after Init: the display name, copied at once.
 *   iNeedsMenuItem  once, at loading: nonzero for a command in "Plugins".
 *   iNeedsEditor    each time the "Plugins" menu opens: nonzero when the
 *                   command is only useful with an editor window open.
 *   Exec()          each time the user picks the plug-in's command.
 *   iShowAboutEx()  each time the user picks the plug-in's about entry.
 *
 * For the Boolean results only the lowest byte counts. A C++ exception that
 * leaves an entry point is caught by the program and reported; a crash inside
 * a plug-in ends the program. A library that cannot be loaded, lacks one of
 * the six entry points or returns no name is skipped with a message.
 *
 * Texts are zero-terminated single-byte strings. Texts the host hands out stay
 * the host's; texts a plug-in passes in are copied before the call returns.
 */
#ifndef VELORA_PLUGIN_H
#define VELORA_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VLR_PLUGIN_EXPORT __attribute__((visibility("default")))

/* ---- Entry points a plug-in exports -------------------------------------- */

typedef int32_t (*VlrInitProc)(void* host);
typedef const char* (*VlrGetNameProc)(void);
typedef int32_t (*VlrExecProc)(void);
typedef int32_t (*VlrShowAboutProc)(void);
typedef int32_t (*VlrNeedsEditorProc)(void);
typedef int32_t (*VlrNeedsMenuItemProc)(void);

/* ---- Records ------------------------------------------------------------- */

/* About information for DispAbout: five fields of 156 single-byte characters,
 * each ended by a zero byte (a field without one is taken whole). */
#define VLR_ABOUT_FIELD 156
typedef struct TPlugInAbout {
    char AboutUrl[VLR_ABOUT_FIELD];     /* "Web Site" button; hidden when empty */
    char AboutHolder[VLR_ABOUT_FIELD];  /* end of the second line */
    char AboutTitle[VLR_ABOUT_FIELD];   /* window title ("About " + title) and first line */
    char AboutDate[VLR_ABOUT_FIELD];    /* middle of the second line */
    char AboutComment[VLR_ABOUT_FIELD]; /* last line; hidden when empty */
} TPlugInAbout;

/* Filled by GetBuildNum; BuildReserved is left as it was. */
typedef struct TBuildNumber {
    int32_t BuildReserved;
    int32_t BuildMajor;
    int32_t BuildMinor;
    int32_t BuildRelease;
    int32_t BuildBuild;
} TBuildNumber;

/* ---- Host functions (look each up by this name in the Init handle) -------
 *
 * "The active editor": the main window's active child window when it is an
 * editor window. Without one, the text functions change nothing and return:
 *   - no child window at all: 0 for GetText, GetSelText, ReplaceText and
 *     InsertText; -1 for GetTextBufSize and GetSelTextBufSize;
 *   - another kind of child (a picture): GetText and GetSelText write only the
 *     zero byte and return 1; the two size functions return 0; ReplaceText
 *     and InsertText return 1;
 *   - both: 0 for SetText, SetSelText, SetSelStart, SetSelLength,
 *     EditorAvailable and GetHandle(3); NULL for GetCarPos.
 * A failure inside the host gives 0 (-1 for the size functions); no exception
 * ever reaches the plug-in.
 */

/* 1 when the active child window is an editor window, else 0. */
typedef int32_t (*VlrEditorAvailable)(void);
/* Inserts Text after the selection (which stays) or at the caret; the caret
 * ends after the text. InsertText does exactly the same. */
typedef int32_t (*VlrReplaceText)(const char* Text);
typedef int32_t (*VlrInsertText)(const char* Text);
/* Shows Text in the second panel of the status bar. */
typedef int32_t (*VlrStatusText)(const char* Text);
/* Copies the project file's path, cut to Size - 1 characters, and a zero
 * byte into Buffer (Size counts the whole buffer). 0 when no project is open. */
typedef int32_t (*VlrGetProjName)(char* Buffer, int32_t Size);
/* The progress gauge of the status bar (starts at 0..6000). */
typedef void (*VlrSetGauge)(int32_t Max);
typedef void (*VlrResetGauge)(void);
typedef void (*VlrIncGauge)(void);
typedef void (*VlrGaugePos)(int32_t Pos);
/* 1: shows "Internet Connection Active..." and the connection image;
 * anything else: clears them. */
typedef void (*VlrNetCon)(int32_t State);
/* 1: the main window; 2: the application window; 3: the active editor
 * window (0 without one); anything else: 0. */
typedef intptr_t (*VlrGetHandle)(int32_t Which);
/* Runs "Build All"; 0 when no project is open or the command is unavailable. */
typedef int32_t (*VlrBuildProject)(void);
/* Shows the standard plug-in about box modally; 1 when shown. */
typedef int32_t (*VlrDispAbout)(const TPlugInAbout* Info);
/* Opens a file by its type; 0 when no such file exists. */
typedef int32_t (*VlrOpenDocument)(const char* FileName);
/* Opens a new untitled editor window, as the "New File" button does. */
typedef int32_t (*VlrCreateEditor)(void);
/* Appends FileName to the open project's files; 0 without a project or when
 * the file is already part of it. Shows nothing. */
typedef int32_t (*VlrAddToProject)(const char* FileName);
/* Fills the four version numbers; 0 (Info untouched) when the program's
 * version text does not have four numeric parts. */
typedef int32_t (*VlrGetBuildNum)(TBuildNumber* Info);
/* Copies at most MaxLen characters of the whole text (GetText) or of the
 * selection (GetSelText) and a zero byte: the buffer needs MaxLen + 1 bytes. */
typedef int32_t (*VlrGetText)(char* Buffer, int32_t MaxLen);
typedef int32_t (*VlrGetSelText)(char* Buffer, int32_t MaxLen);
/* Lengths in characters of the whole text and of the selection. */
typedef int32_t (*VlrGetTextBufSize)(void);
typedef int32_t (*VlrGetSelTextBufSize)(void);
/* The caret as "line,column"; valid until the next call. */
typedef const char* (*VlrGetCarPos)(void);
/* Replace the whole text / the selection; set selection start and length. */
typedef int32_t (*VlrSetText)(const char* Text);
typedef int32_t (*VlrSetSelText)(const char* Text);
typedef int32_t (*VlrSetSelStart)(int32_t Start);
typedef int32_t (*VlrSetSelLength)(int32_t Length);
/* Always 0. */
typedef int32_t (*VlrGetVLRType)(void);

#ifdef __cplusplus
}
#endif

#endif /* VELORA_PLUGIN_H */
