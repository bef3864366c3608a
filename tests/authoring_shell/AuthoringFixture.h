// Fixture of the authoring tests: a real main window on a fresh program
// folder with one real editor window open, and helpers that set the
// document's text and selection and read text and caret back through the
// editor-window messages.
#pragma once

#include "ShellFixture.h"

#include "app/shell/MainWindow.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

class QWidget;

namespace vlr {
class TFrmEditor;
}

namespace vlrtest {

class AuthoringTest : public ShellTest {
protected:
    void TearDown() override;

    // A main window whose preferences say `lowerTags` and `modern`, with a new editor window.
    void Open(bool lowerTags = true, bool modern = false);
    // Triggers a command of the command tables (it must exist and be enabled).
    void Trigger(const char* command);
    // Text (exported form, CR LF breaks) and selection [start, start + length) of the editor.
    void Set(const std::string& text, int start, int length);
    std::string Text();
    // 1-based column and line of the caret.
    std::pair<int, int> Caret();
    vlr::Handle EditorHandle() const;

    std::unique_ptr<vlr::TFrmMainVLR> w;
    vlr::TFrmEditor* editor = nullptr;
};

// Runs `act` on the next modal dialog of the given class name (or any class
// when empty) once it shows; a dialog still open 3 s later is rejected.
void AnswerNextDialog(const char* className, std::function<void(QWidget*)> act);

// The stored-form expectation of inserting: breaks normalised to the
// exported CR LF form, and the 1-based caret it leaves.
std::string Exported(const std::string& text);
std::pair<int, int> CaretAt(const std::string& exportedText, std::size_t offsetInExported);

}  // namespace vlrtest
