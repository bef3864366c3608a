#include "editor/findfiles/FindInFilesUnit.h"

#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "memo/engine/search/FileSearch.h"
#include "memo/engine/search/REParser.h"
#include "platform/Prompter.h"
#include "platform/Record.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <set>

namespace vlr {
namespace {

using velora::memo::FileHit;
using velora::memo::TFileSearch;

unsigned FlagsOf(const FindInFilesRequest& r) {
    unsigned flags = 0;
    if (r.matchCase)
        flags |= velora::memo::kSearchMatchCase;
    if (r.regularExpression)
        flags |= velora::memo::kSearchRegExp;
    if (r.wholeWords)
        flags |= velora::memo::kSearchWholeWord;
    return flags;
}

std::string Counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

FindInFilesRow RowOf(const FileHit& hit) {
    return {QString::fromStdString(hit.file), hit.line, hit.column, hit.start, hit.end,
            QString::fromUtf8(hit.lineText.data(), qsizetype(hit.lineText.size()))};
}

}  // namespace

TFindInFilesUnit::TFindInFilesUnit(ShellServices& shell) : shell_(shell) {}

TFindInFilesUnit::~TFindInFilesUnit() { delete dialog_.data(); }

void TFindInFilesUnit::ConnectCommands() {
    shell_.Gate().makeAvailable(CommandGroup::FileSearch);
    ConnectCommand(shell_, this, "FindInFiles1", "FindInFiles1Click", [this] { FindInFilesClick(); });
}

void TFindInFilesUnit::FindInFilesClick() {
    if (!dialog_) {
        dialog_ = new TFindInFilesDialog(shell_.MainWidget());
        connect(dialog_, &TFindInFilesDialog::searchRequested, this,
                [this] { RunGuarded(shell_, dialog_, "FindInFilesSearch", [this] { Search(); }); });
        connect(dialog_, &TFindInFilesDialog::replaceRequested, this,
                [this] { RunGuarded(shell_, dialog_, "FindInFilesReplace", [this] { ReplaceAll(); }); });
        connect(dialog_, &TFindInFilesDialog::openRequested, this, [this](const FindInFilesRow& row) {
            RunGuarded(shell_, dialog_, "FindInFilesOpen", [&] { OpenMatch(row); });
        });
        // The folder scope starts at the folder of the active document.
        FindInFilesRequest r = dialog_->request();
        r.folder = QDir::currentPath();
        for (QMdiSubWindow* sub : shell_.MdiArea()->subWindowList())
            if (auto* e = qobject_cast<TFrmEditor*>(sub->widget()); e && sub == shell_.MdiArea()->currentSubWindow())
                if (e->FileName != kUntitled)
                    r.folder = QFileInfo(QString::fromStdString(e->FileName)).absolutePath();
        dialog_->setRequest(r);
    }
    dialog_->setProjectAvailable(shell_.Project().ProjectFile() != "none");
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

std::vector<std::string> TFindInFilesUnit::FilesToSearch(const FindInFilesRequest& r) const {
    if (r.projectFiles && shell_.Project().ProjectFile() != "none")
        return shell_.Project().Project().AllFiles;
    return velora::memo::ListFiles(r.folder.toStdString(), r.mask.toStdString(), r.subfolders);
}

TFrmEditor* TFindInFilesUnit::EditorOf(const std::string& file) const {
    for (QMdiSubWindow* sub : shell_.MdiArea()->subWindowList())
        if (auto* e = qobject_cast<TFrmEditor*>(sub->widget()); e && e->FileName == file)
            return e;
    return nullptr;
}

void TFindInFilesUnit::Search() {
    const FindInFilesRequest r = dialog_->request();
    std::vector<FileHit> hits;
    QStringList problems;
    std::vector<velora::memo::FileStop> stops;
    std::set<std::string> files;
    try {
        TFileSearch search(r.text.toStdString(), FlagsOf(r));
        QApplication::setOverrideCursor(Qt::WaitCursor);
        for (const std::string& file : FilesToSearch(r)) {
            // An open document is searched as the user sees it, saved or not.
            if (TFrmEditor* e = EditorOf(file)) {
                const QByteArray text = e->memo().text();
                search.searchText(file, std::string_view(text.constData(), std::size_t(text.size())), hits);
                continue;
            }
            std::vector<std::string> errors;
            std::vector<FileHit> found = search.searchFiles({file}, &errors);
            hits.insert(hits.end(), found.begin(), found.end());
            for (const std::string& e : errors)
                problems << QString::fromStdString(e);
        }
        stops = search.stopped();
        QApplication::restoreOverrideCursor();
    } catch (const velora::memo::ERegExprError& e) {
        QApplication::restoreOverrideCursor();
        dialog_->showMessage(QString::fromStdString(e.what()));
        return;
    }
    std::vector<FindInFilesRow> rows;
    rows.reserve(hits.size());
    for (const FileHit& hit : hits) {
        rows.push_back(RowOf(hit));
        files.insert(hit.file);
    }
    dialog_->showResults(rows, int(files.size()), problems);
    if (!stops.empty()) {
        // An expression that ran out of steps in a file did not search all of it.
        QString text = dialog_->summary();
        for (const velora::memo::FileStop& s : stops)
            text += "; " + QFileInfo(QString::fromStdString(s.file)).fileName() + ": " +
                    QString::fromStdString(velora::memo::OutOfStepsMessage(s.line));
        dialog_->showMessage(text);
    }
    shell_.SetStatusText(dialog_->summary());
}

void TFindInFilesUnit::ReplaceAll() {
    Search();
    const int matches = dialog_->resultCount();
    if (matches == 0)
        return;
    const FindInFilesRequest r = dialog_->request();
    std::set<std::string> files;
    for (int i = 0; i < matches; ++i)
        files.insert(dialog_->resultAt(i).file.toStdString());
    // The list of matches just shown is the preview the user confirms.
    const std::string question = "Replace " + Counted(std::size_t(matches), "match", "matches") + " in " +
                                 Counted(files.size(), "file", "files") + " with \"" + r.replacement.toStdString() +
                                 "\"?";
    if (ShowMessage(MessageKind::Confirmation, "Replace in Files", question, BtnYesNo) != ModalResult::Yes)
        return;
    TFileSearch search(r.text.toStdString(), FlagsOf(r));
    const std::string with = r.replacement.toStdString();
    std::vector<std::string> onDisk;
    int replaced = 0;
    for (const std::string& file : files) {
        if (TFrmEditor* e = EditorOf(file)) {
            // Open documents change in their window as one undoable step and
            // stay unsaved until the user saves them.
            const QByteArray text = e->memo().text();
            int count = 0;
            const std::string result =
                search.replaceIn(std::string_view(text.constData(), std::size_t(text.size())), with, &count);
            RecordPtr rec = MakeRecord(result);
            SendMessage(e->handle(), EM_SET_TEXT, 0, reinterpret_cast<LParam>(rec.release()));
            replaced += count;
        } else {
            onDisk.push_back(file);
        }
    }
    std::vector<std::string> errors;
    for (const auto& done : search.replaceInFiles(onDisk, with, &errors))
        replaced += done.count;
    QString text = QString::fromStdString("Replaced " + Counted(std::size_t(replaced), "match", "matches") + " in " +
                                          Counted(files.size(), "file", "files"));
    if (!errors.empty()) {
        QStringList names;
        for (const std::string& e : errors)
            names << QString::fromStdString(e);
        text += "; not changed: " + names.join(", ");
        ShowMessage(MessageKind::Error, "Replace in Files",
                    "These files could not be changed and are as they were: " + names.join(", ").toStdString(),
                    BtnOk);
    }
    dialog_->showMessage(text);
    shell_.SetStatusText(text);
}

void TFindInFilesUnit::OpenMatch(const FindInFilesRow& row) {
    const std::string file = row.file.toStdString();
    TFrmEditor* e = EditorOf(file);
    if (!e) {
        shell_.Project().ParseToOpen(file);
        e = EditorOf(file);
    }
    if (!e)
        return;
    shell_.MdiArea()->setActiveSubWindow(e->subWindow());
    e->memo().setSelection(row.end, row.start);
    e->memo().setFocus();
}

}  // namespace vlr
