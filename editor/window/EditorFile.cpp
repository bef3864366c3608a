// TFrmEditor: loading a document, saving it, and saving it under a new name.
#include "editor/window/DocumentWatch.h"
#include "editor/window/EditorImage.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "editor/window/RecentDocuments.h"

#include "platform/Prompter.h"
#include "platform/Record.h"
#include "project/open/FileKinds.h"

#include <filesystem>
#include <stdexcept>

namespace vlr {

namespace {
// Tells the main window a document was saved under a new name, which offers a
// page saved into the project's source folder for the project.
constexpr unsigned kSavedAs = 3087;

std::string baseName(const std::string& path) { return std::filesystem::path(path).filename().string(); }
}  // namespace

const std::string& TFrmEditor::SaveFilter() {
    static const std::string filter =
        "HTML Source (.hts)|*.hts|"
        "HTML Snippet (.hsn)|*.hsn|"
        "HTML Template (.htf)|*.htf|"
        "VLR Project (.vlr)|*.vlr|"
        "HTML File (.html,.htm)|*.html;*.htm|"
        "Active Server Page (.asp)|*.asp|"
        "Object Pascal Script (.ops)|*.ops|"
        "Javascript Script (.js)|*.js|"
        "Gif Image (.gif)|*.gif|"
        "Jpeg Image (.jpg)|*.jpg|"
        "Bitmap Image (.bmp)|*.bmp|"
        "Windows Metafile (.wmf)|*.wmf|"
        "Enhanced Metafile (.emf)|*.emf|"
        "Icon (.ico)|*.ico|"
        "All Files (.*)|*.*";
    return filter;
}

void TFrmEditor::Open(const std::string& given) {
    // The document keeps its absolute path: opening a project changes the
    // current directory, after which a relative name would be another file.
    const std::string path = AbsolutePath(given);
    FileName = path;
    setWindowFilePath(QString::fromStdString(path));  // where the document's relative links start
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return;
    LoadedDocument doc = LoadDocument(path);
    if (!doc.ok)
        throw std::runtime_error(doc.error);
    setWindowTitle(QString::fromStdString(baseName(path)));
    AddToRecentDocs(path);
    Breaks = doc.style;
    SyntaxMemo1->setText(QByteArray(doc.text.data(), qsizetype(doc.text.size())));
    SyntaxMemo1->setSelection(0, 0);
    SyntaxMemo1->setModified(false);
    applyDocumentSettings(true);
    Watch->Track(path);
}

bool TFrmEditor::SaveIt() {
    if (FileName == kUntitled)
        return SaveAs();
    // Newer text written by another program is not replaced without asking.
    if (!Watch->ConfirmOverwrite(FileName))
        return false;
    // The settings of the place it is saved to (a Save As may have moved it):
    // break style, trailing blanks and the final break.
    applyDocumentSettings(false);
    const QByteArray text = SyntaxMemo1->text();
    const std::string bytes =
        ApplySaveRules(std::string_view(text.constData(), std::size_t(text.size())), DocConfig);
    std::string error;
    if (!SaveDocument(FileName, bytes, Breaks, &error)) {
        // The old file is intact and the document stays modified.
        host_.ReportException(this, std::make_exception_ptr(std::runtime_error(error)), "TFrmEditor.SaveIt");
        return false;
    }
    Watch->Track(FileName);
    SyntaxMemo1->setModified(false);
    ModMessage();
    host_.DocumentSaved(*this);
    return true;
}

bool TFrmEditor::SaveAs() {
    FileDialogRequest request;
    request.fileName = FileName;
    request.defaultExt = "hts";
    request.filter = SaveFilter();
    request.initialDir = AskProjectFolders(MainWnd).source;
    std::optional<std::string> chosen = CurrentPrompter().SaveFile(request);
    if (!chosen || chosen->empty())
        return false;
    *chosen = AbsolutePath(*chosen);
    std::error_code ec;
    if (std::filesystem::exists(*chosen, ec)) {
        if (ShowMessage(MessageKind::Confirmation, "", "File already exists, are you sure you wish to overwrite it?",
                        BtnYesNo) != ModalResult::Yes)
            return false;
    }
    const std::string oldName = FileName;
    const QString oldCaption = windowTitle();
    FileName = *chosen;
    setWindowTitle(QString::fromStdString(baseName(FileName)));
    if (SaveIt()) {
        setWindowFilePath(QString::fromStdString(FileName));
        if (IsWindow(MainWnd) && FileName != oldName)
            SendMessage(MainWnd, kSavedAs, 0, reinterpret_cast<LParam>(MakeRecord(FileName).release()));
        return true;
    }
    // A failed write keeps the document under its old name.
    FileName = oldName;
    setWindowTitle(oldCaption);
    return false;
}

}  // namespace vlr
