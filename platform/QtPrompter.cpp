#include "platform/QtPrompter.h"

#include "platform/System.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <iostream>

namespace vlr {
namespace {

const char* kindName(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information: return "Information";
    case MessageKind::Error: return "Error";
    case MessageKind::Confirmation: return "Confirmation";
    case MessageKind::Warning: return "Warning";
    }
    return "Information";
}

QWidget* dialogParent() { return QApplication::activeWindow(); }

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

ModalResult QtPrompter::MessageBox(const MessageBoxRequest& request) {
    if (PromptsAreLogged()) {
        std::cerr << "[prompt] " << kindName(request.kind) << " | " << request.caption << " | "
                  << request.text << std::endl;
        return DefaultAnswer(request);
    }
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (request.kind) {
    case MessageKind::Information: icon = QMessageBox::Information; break;
    case MessageKind::Error: icon = QMessageBox::Critical; break;
    case MessageKind::Confirmation: icon = QMessageBox::Question; break;
    case MessageKind::Warning: icon = QMessageBox::Warning; break;
    }
    QMessageBox box(icon, qs(request.caption), qs(request.text), QMessageBox::NoButton, dialogParent());
    struct Pair { unsigned flag; QMessageBox::StandardButton button; ModalResult result; };
    const Pair pairs[] = {
        {BtnYes, QMessageBox::Yes, ModalResult::Yes},       {BtnNo, QMessageBox::No, ModalResult::No},
        {BtnOk, QMessageBox::Ok, ModalResult::Ok},          {BtnCancel, QMessageBox::Cancel, ModalResult::Cancel},
        {BtnAbort, QMessageBox::Abort, ModalResult::Abort}, {BtnRetry, QMessageBox::Retry, ModalResult::Retry},
        {BtnIgnore, QMessageBox::Ignore, ModalResult::Ignore},
    };
    unsigned buttons = request.buttons ? request.buttons : BtnOk;
    ModalResult def = DefaultAnswer(request);
    for (const Pair& p : pairs) {
        if (buttons & p.flag) {
            box.addButton(p.button);
            if (p.result == def)
                box.setDefaultButton(p.button);
        }
    }
    if (buttons & BtnCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    auto* clicked = box.clickedButton();
    QMessageBox::StandardButton chosen = clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
    for (const Pair& p : pairs)
        if (p.button == chosen)
            return p.result;
    // Closed by the window's close button or Escape without a Cancel button.
    return (buttons & BtnCancel) ? ModalResult::Cancel : ModalResult::None;
}

void QtPrompter::Beep(BeepKind) {
    if (!PromptsAreLogged())
        QApplication::beep();
}

std::optional<std::string> QtPrompter::InputBox(const InputBoxRequest& request) {
    if (PromptsAreLogged()) {
        std::cerr << "[input] " << request.caption << " | " << request.prompt << std::endl;
        return std::nullopt;
    }
    bool ok = false;
    QString text = QInputDialog::getText(dialogParent(), qs(request.caption), qs(request.prompt),
                                         QLineEdit::Normal, qs(request.value), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::vector<std::string>> QtPrompter::OpenFiles(const FileDialogRequest& request) {
    if (PromptsAreLogged()) {
        std::cerr << "[open-dialog] " << request.title << std::endl;
        return std::nullopt;
    }
    QFileDialog dialog(dialogParent(), qs(request.title), qs(request.initialDir), qs(QtFilterFrom(request.filter)));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles
                                           : (request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    QStringList filters = dialog.nameFilters();
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.empty())
        dialog.selectFile(qs(request.fileName));
    if (!request.defaultExt.empty())
        dialog.setDefaultSuffix(qs(request.defaultExt));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<std::string> files;
    for (const QString& f : dialog.selectedFiles())
        files.push_back(f.toStdString());
    if (files.empty())
        return std::nullopt;
    return files;
}

std::optional<std::string> QtPrompter::SaveFile(const FileDialogRequest& request) {
    if (PromptsAreLogged()) {
        std::cerr << "[save-dialog] " << request.title << std::endl;
        return std::nullopt;
    }
    QFileDialog dialog(dialogParent(), qs(request.title), qs(request.initialDir), qs(QtFilterFrom(request.filter)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question where it wants one.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    QStringList filters = dialog.nameFilters();
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.empty())
        dialog.selectFile(qs(request.fileName));
    if (!request.defaultExt.empty())
        dialog.setDefaultSuffix(qs(request.defaultExt));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace vlr
