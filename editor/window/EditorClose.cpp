// TFrmEditor: closing the window, with the question about unsaved changes.
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"

#include "platform/Prompter.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <filesystem>
#include <string>
#include <string_view>

namespace vlr {

namespace {
// Asked before a modified document's window closes; %s is its full path.
constexpr std::string_view kSaveChangesQuestion = "Save changes to %s?";
}  // namespace

void TFrmEditor::closeEvent(QCloseEvent* event) {
    bool allow = true;
    guarded("FormCloseQuery", [&] { allow = FormCloseQuery(); });
    if (allow)
        event->accept();
    else
        event->ignore();
}

// Only Yes (and a successful save) or No let a modified document go; any other
// answer, and a save that did not happen, keep the window open as it is.
bool TFrmEditor::FormCloseQuery() {
    std::error_code ec;
    if (!PreviewFile.empty() && std::filesystem::exists(PreviewFile, ec))
        std::filesystem::remove(PreviewFile, ec);
    if (SyntaxMemo1->modified()) {
        if (sub_ && sub_->mdiArea())
            sub_->mdiArea()->setActiveSubWindow(sub_);
        const std::string_view question = kSaveChangesQuestion;
        const std::size_t name = question.find("%s");
        const std::string text = std::string(question.substr(0, name)) + FileName + std::string(question.substr(name + 2));
        ModalResult answer = ShowMessage(MessageKind::Confirmation, "", text, BtnYesNoCancel);
        if (answer == ModalResult::Yes) {
            if (!SaveIt())
                return false;
        } else if (answer == ModalResult::No) {
            SyntaxMemo1->setModified(false);
        } else {
            return false;
        }
    }
    host_.DocumentClosed(*this);
    host_.UpdateEditorCommands(true);
    host_.SetImageEx("none");
    return true;
}

}  // namespace vlr
