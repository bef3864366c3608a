// How the insertion dialogs reach a document: the active editor window of the
// main window, the editor messages that insert into it, the tag-case
// preference and the open project's pages.
#pragma once

#include "platform/Window.h"

#include <string>
#include <vector>

namespace vlr::extdlgs {

// The active editor window of the main window's document area: 0 when there
// is none or the active child is not an editor window.
[[nodiscard]] Handle ActiveEditorOf(Handle mainWindow);
// True when `window` is an editor window that can take markup.
[[nodiscard]] bool IsEditorWindow(Handle window);

// Message 2029: wraps the selection in start and end, or inserts both at the
// caret (flag "yes": the caret between them).
void SendMarkup(Handle editor, const std::string& start, const std::string& end, const std::string& flag);
// Message 3072: the selected text ("" when the window does not answer).
[[nodiscard]] std::string SelectedText(Handle editor);

// The tag-case preference of "preferences.dat" in the program folder
// (Environment/LowerTags, true when missing).
[[nodiscard]] bool LowerTagsPreference();

// The file a document window holds ("" while it has no name).
[[nodiscard]] std::string DocumentPath(Handle editor);

// The pages the open project builds, as links from the page built from
// `currentDocument`: each source file's built name (about.hts gives
// about.html) relative to the current page's output folder, in project
// order; empty when no project is open. Asks the main window with message 3085.
[[nodiscard]] std::vector<std::string> ProjectPages(Handle mainWindow, const std::string& currentDocument);

}  // namespace vlr::extdlgs
