// Recovery copies of unsaved editor text, kept in a recovery folder so that
// the work survives a crash or a power cut.
//
// Each running program is a session: a subfolder of the recovery folder with
// a marker file naming the process, and one file per modified document
// ("<id>.vlrrec", see RecoveryFile.h), each written whole through a temporary
// file and a rename. A clean exit removes the session's folder. A folder whose
// process no longer runs (or that has no marker) was left by a crash; its
// copies are listed for restoring, then discarded one by one.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vlr {

// A copy left by a session that ended without a clean exit.
struct RecoveryEntry {
    QString id;            // the document's id in its session
    QString documentPath;  // full path of the document; empty while it had no file
    qint64 size = 0;       // length of the text in bytes
    QDateTime saved;       // when the copy was written (UTC)
    QString file;          // full path of the recovery file
};

class RecoveryStore {
public:
    // folder: the recovery folder, e.g. AppDir + "recovery/"; made when needed.
    explicit RecoveryStore(QString folder);
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    [[nodiscard]] const QString& Folder() const { return folder_; }

    // Starts this process's session: makes its folder and marker. Folders of
    // ended sessions that hold no copies are removed on the way.
    bool BeginSession(QString* error = nullptr);
    // The clean exit: removes this session's copies, its marker and folder.
    bool EndSession(QString* error = nullptr);
    [[nodiscard]] bool InSession() const { return !sessionDir_.isEmpty(); }

    // Writes (or replaces) the copy of document `id`: letters, digits, '_',
    // '-' and '.', at most 64, not starting with '.'. documentPath is empty
    // for a document without a file. Needs a begun session.
    bool Save(const QString& id, const QString& documentPath, const QByteArray& text, QString* error = nullptr);
    // Removes this session's copy of document `id`; true when none is left.
    bool Remove(const QString& id, QString* error = nullptr);
    // True when this session holds a copy of `id`.
    [[nodiscard]] bool Has(const QString& id) const;

    // True when a session that no longer runs left recovery files behind.
    [[nodiscard]] bool PreviousSessionCrashed() const;
    // The intact copies of such sessions, oldest first. Each damaged or
    // unreadable copy is skipped, with "<file>: <reason>" added to *problems.
    [[nodiscard]] QList<RecoveryEntry> List(QStringList* problems = nullptr) const;
    // The text of a listed copy, checked again; nullopt with the reason.
    [[nodiscard]] std::optional<QByteArray> Load(const RecoveryEntry& entry, QString* error = nullptr) const;
    // Deletes a listed copy once it is restored or refused; the ended
    // session's folder goes with its last intact copy (damaged copies, which
    // List reported, go with it).
    bool Discard(const RecoveryEntry& entry, QString* error = nullptr);
    // Deletes everything ended sessions left, damaged copies included: for
    // when the user has restored or refused all that was listed.
    bool DiscardAll(QString* error = nullptr);

    [[nodiscard]] static bool IsValidId(const QString& id);

private:
    [[nodiscard]] QStringList endedSessions() const;
    QString folder_;
    QString sessionDir_;  // empty outside a session
};

}  // namespace vlr
