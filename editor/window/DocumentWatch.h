// Notices when another program changes the file an editor window holds, so
// that a stale copy never silently replaces newer text: an unmodified window
// offers to reload the file, and a save over a file changed since the window
// read (or last wrote) it asks first.
#pragma once

#include <QObject>

#include <string>

class QFileSystemWatcher;
class QTimer;

namespace vlr {

class TFrmEditor;

class DocumentWatch : public QObject {
    Q_OBJECT
public:
    explicit DocumentWatch(TFrmEditor& editor);

    // The file is as the window has just read or written it: remember its
    // state and watch it from now on.
    void Track(const std::string& path);
    // Before the window writes `path`: when another program changed the file
    // since the window read or wrote it, asks whether to overwrite it. False
    // when the save must not go on.
    bool ConfirmOverwrite(const std::string& path);
    // Whether the watched file differs from what the window read or wrote.
    bool ChangedOnDisk() const;
    const std::string& path() const { return path_; }

    // The question asked before reloading, and the one asked before saving
    // over a changed file; %s is the file's name.
    static const char* const kReloadQuestion;
    static const char* const kOverwriteQuestion;

    // How long a burst of changes settles before the window looks at the file.
    static constexpr int kSettleMs = 150;

    // The file's identity on disk: inode, size and modification time.
    struct Stamp {
        bool exists = false;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp StampOf(const std::string& path);

private:
    void changed();
    void settle();
    void rewatch();
    void reload();

    TFrmEditor& editor_;
    QFileSystemWatcher* watcher_;
    QTimer* settle_;
    std::string path_;
    Stamp known_;
    unsigned long long watchedInode_ = 0;
    // The user kept the window's text after a change: no further question
    // until the file is reloaded or written (the save asks).
    bool declined_ = false;
    bool asking_ = false;
};

}  // namespace vlr
