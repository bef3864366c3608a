// What the editor-window unit offers the other units: creating editor
// windows and sending markup to the active one.
#pragma once

#include <string>

namespace vlr {

class TFrmEditor;

class EditorWindows {
public:
    virtual ~EditorWindows() = default;

    // An editor window for an existing file, from a template file, and a new
    // untitled one from the default template; nullptr when no window was made.
    // A file that is already open in an editor window (the same file under
    // any name, links followed) is not opened twice: its window is activated
    // and returned.
    virtual TFrmEditor* OpenEditorForFile(const std::string& path) = 0;
    // Opens (or activates) the file's editor window with the caret at the
    // start of the given line (1-based) and the focus in the text; false when
    // no window holds the file.
    virtual bool OpenEditorAtLine(const std::string& path, int line) = 0;
    virtual TFrmEditor* OpenEditorFromTemplate(const std::string& path) = 0;
    virtual TFrmEditor* OpenNewEditor() = 0;
    // Checks the spelling of the active editor window; nothing when the
    // active child is not an editor window.
    virtual void CheckActiveSpelling() = 0;
    // Lets the user choose the printer (and its settings) that printing from
    // the editor windows starts from.
    virtual void ChoosePrinter() = 0;
    // Inserts markup around the selection of the active editor window, in the
    // tag case of the preferences; nothing when the active child is not an
    // editor window.
    virtual void SendStrings(const std::string& start, const std::string& end, const std::string& flag) = 0;
};

}  // namespace vlr
