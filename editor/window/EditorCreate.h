// The three ways an editor window is made: for an existing file, from a
// template file, and as a new document from the default template.
#pragma once

#include "editor/window/EditorHost.h"
#include "platform/Window.h"

#include <string>

namespace vlr {

class TFrmEditor;

// The project directories handed to a new editor window: the project's
// source directory and its output directory (empty when no project is open).
struct EditorDirs {
    std::string srcDir;
    std::string outDir;
};

// A window with the file loaded and named; nullptr (after the message
// "Unable to find file " + path) when the file does not exist.
TFrmEditor* CreateEditorForFile(EditorHost& host, Handle application, Handle mainWnd, const std::string& path,
                                const EditorDirs& dirs);
// An untitled window whose text is the template's. A missing template gives
// the message "Unable to find file " + path and an empty untitled window.
TFrmEditor* CreateEditorFromTemplate(EditorHost& host, Handle application, Handle mainWnd,
                                     const std::string& templatePath, const EditorDirs& dirs);
// An untitled window whose text is appDir + "templates/normal.htf"; when that
// file is missing, the message names it and the window stays, empty.
TFrmEditor* CreateNewEditor(EditorHost& host, Handle application, const std::string& appDir, Handle mainWnd,
                            const EditorDirs& dirs);

}  // namespace vlr
