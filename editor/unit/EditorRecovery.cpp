// The editor-window unit's recovery copies: while a document holds unsaved
// text, a copy of it is written a few seconds after the last change into the
// recovery folder beside the preferences. A clean exit removes the copies;
// after an unclean one the next start offers to restore each document.
#include "editor/unit/EditorUnit.h"

#include "app/units/StatusPanels.h"
#include "app/units/ShellServices.h"
#include "platform/System.h"
#include "app/units/UnitCommands.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "platform/Prompter.h"
#include "platform/Record.h"

#include <QFileInfo>
#include <QLocale>

#include <iostream>

namespace vlr {
namespace {

QString RecoveryId(const TFrmEditor& editor) { return QString::number(editor.handle()); }

}  // namespace

void TEditorUnit::Created() {
    recovery_ = std::make_unique<RecoveryStore>(QString::fromStdString(vlr::WritablePath("recovery/")));
    QString error;
    if (!recovery_->BeginSession(&error)) {
        // Editing goes on without copies; the user is told once, on the status line.
        shell_.SetStatusText("Recovery copies are off: " + error);
        return;
    }
    recoveryTimer_ = std::make_unique<RecoveryScheduler>(*recovery_);
    connect(recoveryTimer_.get(), &RecoveryScheduler::RecoveryFailed, this,
            [this](const QString&, const QString& reason) {
                shell_.SetStatusText("A recovery copy could not be written: " + reason);
            });
}

void TEditorUnit::Shown() {
    RunGuarded(shell_, this, "OfferRecoveredDocuments", [this] { OfferRecoveredDocuments(); });
}

void TEditorUnit::Closed() {
    if (!recovery_)
        return;
    recoveryTimer_.reset();
    recovery_->EndSession();
}

void TEditorUnit::DocumentChanged(TFrmEditor& editor) {
    if (recoveryTimer_)
        recoveryTimer_->DocumentChanged(RecoveryId(editor), editor);
}

void TEditorUnit::DocumentSaved(TFrmEditor& editor) {
    if (recoveryTimer_)
        recoveryTimer_->DocumentSaved(RecoveryId(editor));
}

void TEditorUnit::DocumentClosed(TFrmEditor& editor) {
    if (recoveryTimer_)
        recoveryTimer_->DocumentClosed(RecoveryId(editor));
}

void TEditorUnit::OfferRecoveredDocuments() {
    if (!recovery_ || !recovery_->PreviousSessionCrashed())
        return;
    QStringList problems;
    const QList<RecoveryEntry> entries = recovery_->List(&problems);
    for (const QString& problem : problems)
        std::cerr << "recovery: " << problem.toStdString() << std::endl;
    for (const RecoveryEntry& entry : entries) {
        const std::string name =
            entry.documentPath.isEmpty() ? std::string(kUntitled) : entry.documentPath.toStdString();
        const std::string when =
            QLocale::system().toString(entry.saved.toLocalTime(), QLocale::ShortFormat).toStdString();
        const ModalResult answer = ShowMessage(
            MessageKind::Confirmation, "Recover Documents",
            "Velora was not closed properly. Restore the unsaved text of " + name + " (kept " + when + ")?",
            BtnYesNo);
        if (answer == ModalResult::Yes) {
            QString error;
            std::optional<QByteArray> text = recovery_->Load(entry, &error);
            if (!text) {
                ShowMessage(MessageKind::Error, "", "The copy of " + name + " cannot be read: " + error.toStdString(),
                            BtnOk);
                continue;  // kept, so nothing is lost by a failing read
            }
            TFrmEditor* editor = entry.documentPath.isEmpty() ? OpenNewEditor()
                                                              : OpenEditorForFile(entry.documentPath.toStdString());
            if (!editor)
                continue;
            // Restored as unsaved work, through the same path as a text set by
            // message: one undoable change, the document modified, the file on
            // disk as it was.
            RecordPtr r = MakeRecord(text->toStdString());
            SendMessage(editor->handle(), EM_SET_TEXT, 0, reinterpret_cast<LParam>(r.release()));
        }
        recovery_->Discard(entry);
    }
}

}  // namespace vlr
