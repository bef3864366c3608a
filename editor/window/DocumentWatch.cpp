// The editor window's watch on its file.
#include "editor/window/DocumentWatch.h"

#include "editor/document/DocumentFile.h"
#include "editor/window/FrmEditor.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QFileSystemWatcher>
#include <QSignalBlocker>
#include <QTimer>

#include <filesystem>
#include <stdexcept>

#include <sys/stat.h>

namespace vlr {
namespace {

std::string Fill(const char* pattern, const std::string& name) {
    std::string text = pattern;
    text.replace(text.find("%s"), 2, name);
    return text;
}

}  // namespace

const char* const DocumentWatch::kReloadQuestion = "%s has been changed by another program. Reload it?";
const char* const DocumentWatch::kOverwriteQuestion =
    "%s has been changed by another program since it was opened. Overwrite it with this text?";

DocumentWatch::DocumentWatch(TFrmEditor& editor)
    : QObject(&editor), editor_(editor), watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this)) {
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, [this] { editor_.guarded("DocumentChangedOnDisk", [this] { settle(); }); });
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { changed(); });
    // A program that saves by writing a new file and renaming it over the old
    // one ends the watch on the file: the folder's changes bring it back.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { changed(); });
}

DocumentWatch::Stamp DocumentWatch::StampOf(const std::string& path) {
    Stamp s;
    struct stat st{};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return s;
    s.exists = true;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modifiedNs = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    return s;
}

void DocumentWatch::Track(const std::string& path) {
    if (path != path_) {
        if (!watcher_->files().isEmpty())
            watcher_->removePaths(watcher_->files());
        if (!watcher_->directories().isEmpty())
            watcher_->removePaths(watcher_->directories());
        path_ = path;
        const std::string folder = std::filesystem::path(path).parent_path().string();
        if (!folder.empty())
            watcher_->addPath(QString::fromStdString(folder));
    }
    known_ = StampOf(path_);
    declined_ = false;
    rewatch();
}

void DocumentWatch::rewatch() {
    // A file replaced by a rename is another file: the watch moves to it.
    const Stamp now = StampOf(path_);
    if (!now.exists)
        return;
    const QString file = QString::fromStdString(path_);
    const bool watched = watcher_->files().contains(file);
    if (watched && now.inode == watchedInode_)
        return;
    if (watched)
        watcher_->removePath(file);
    watcher_->addPath(file);
    watchedInode_ = now.inode;
}

bool DocumentWatch::ChangedOnDisk() const { return !path_.empty() && StampOf(path_) != known_; }

void DocumentWatch::changed() {
    rewatch();
    // Our own saves are recorded before their notices arrive; anything else
    // waits for the writer to finish before the window looks at it.
    if (ChangedOnDisk())
        settle_->start();
}

void DocumentWatch::settle() {
    if (asking_ || declined_ || !ChangedOnDisk() || !StampOf(path_).exists)
        return;
    // Not in the middle of another question: asked when that one is answered.
    if (QApplication::activeModalWidget()) {
        settle_->start();
        return;
    }
    // A modified window keeps its text; its next save asks.
    if (editor_.memo().modified())
        return;
    asking_ = true;
    const ModalResult answer =
        ShowMessage(MessageKind::Confirmation, "", Fill(kReloadQuestion, editor_.FileName), BtnYesNo);
    asking_ = false;
    if (answer == ModalResult::Yes && !editor_.memo().modified())
        reload();
    else
        declined_ = true;
}

void DocumentWatch::reload() {
    // What was read is what the window knows, even if the file changes again
    // while it is read (that change gives a new notice).
    const Stamp before = StampOf(path_);
    LoadedDocument doc = LoadDocument(path_);
    if (!doc.ok)
        throw std::runtime_error(doc.error);
    velora::memo::TSyntaxMemo& m = editor_.memo();
    const auto caret = m.selection().caret;
    {
        // A reload is no edit: no recovery copy, no reports until it is done.
        QSignalBlocker quiet(&m);
        m.setText(QByteArray(doc.text.data(), qsizetype(doc.text.size())));
        const auto size = velora::memo::Pos(doc.text.size());
        m.setSelection(std::min(caret, size), std::min(caret, size));
        m.setModified(false);
    }
    editor_.Breaks = doc.style;
    known_ = before;
    declined_ = false;
    m.viewport()->update();
    editor_.ModMessage();
    editor_.CaretPos();
    editor_.doundoredomessage();
}

bool DocumentWatch::ConfirmOverwrite(const std::string& path) {
    // Another file (Save As) was asked about by its own dialog.
    if (path != path_ || !ChangedOnDisk() || !StampOf(path_).exists)
        return true;
    return ShowMessage(MessageKind::Confirmation, "", Fill(kOverwriteQuestion, editor_.FileName), BtnYesNo) ==
           ModalResult::Yes;
}

}  // namespace vlr
