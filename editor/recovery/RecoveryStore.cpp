#include "editor/recovery/RecoveryStore.h"

#include "editor/recovery/ProcessIdentity.h"
#include "editor/recovery/RecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace vlr {
namespace {

const QString kMarker = QStringLiteral("session.lock");
// The session folder is made complete with its marker under a temporary name
// and renamed: another start never sees a session folder without its owner
// (it would take it for a crashed session's and delete it).
const QString kMaking = QStringLiteral(".making-session-");
// A folder left half-made by a start that died is removed after this long.
constexpr qint64 kAbandonedAfterSeconds = 600;
const QString kSuffix = QStringLiteral(".vlrrec");

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

// Writes a file whole: a temporary file beside it, flushed to the disk, then
// renamed over it.
bool writeWhole(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("Cannot create %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        QString why = file.errorString();
        file.cancelWriting();
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(path, why));
    }
    if (!file.commit())
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

QStringList copiesIn(const QString& sessionDir) {
    return QDir(sessionDir).entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
}

// Removes the folders that starts which died half-way left behind: a start in
// progress has a running owner, or is only moments old.
void removeAbandonedStarts(const QString& folder) {
    const QDir root(folder);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo& info : root.entryInfoList({kMaking + QLatin1Char('*')},
                                                    QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile marker(info.absoluteFilePath() + QLatin1Char('/') + kMarker);
        ProcessIdentity owner;
        const bool hasOwner = marker.open(QIODevice::ReadOnly) && ProcessIdentity::Parse(marker.read(4096), owner);
        if (hasOwner ? IsProcessRunning(owner)
                     : info.lastModified().toUTC().secsTo(now) < kAbandonedAfterSeconds)
            continue;
        QDir(info.absoluteFilePath()).removeRecursively();
    }
}

}  // namespace

RecoveryStore::RecoveryStore(QString folder) : folder_(QDir(folder).absolutePath() + QLatin1Char('/')) {}

bool RecoveryStore::IsValidId(const QString& id) {
    if (id.isEmpty() || id.size() > 64 || id.startsWith(QLatin1Char('.')))
        return false;
    return std::all_of(id.begin(), id.end(), [](QChar c) {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
               (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') || c == QLatin1Char('-') ||
               c == QLatin1Char('.');
    });
}

bool RecoveryStore::BeginSession(QString* error) {
    if (InSession())
        return true;
    // Ended sessions without copies are only clutter.
    for (const QString& dir : endedSessions())
        if (QDir(dir).entryList({QStringLiteral("*") + kSuffix}, QDir::Files).isEmpty())
            QDir(dir).removeRecursively();
    removeAbandonedStarts(folder_);

    const ProcessIdentity me = CurrentProcessIdentity();
    const QString name = QStringLiteral("session-%1-%2")
                             .arg(me.pid)
                             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    // Made complete under another name, then renamed in one step.
    const QString making = folder_ + kMaking + name.mid(8);
    if (!QDir().mkpath(folder_) || !QDir().mkdir(making))
        return fail(error, QStringLiteral("Cannot make the recovery folder %1").arg(making));
    // The copies hold the user's unsaved text: for the user's eyes only.
    QFile::setPermissions(making, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!writeWhole(making + QLatin1Char('/') + kMarker, me.Serialize(), error)) {
        QDir(making).removeRecursively();
        return false;
    }
    const QString dir = folder_ + name + QLatin1Char('/');
    if (::rename(QFile::encodeName(making).constData(), QFile::encodeName(folder_ + name).constData()) != 0) {
        QDir(making).removeRecursively();
        return fail(error, QStringLiteral("Cannot make the recovery folder %1").arg(dir));
    }
    sessionDir_ = dir;
    return true;
}

bool RecoveryStore::EndSession(QString* error) {
    if (!InSession())
        return true;
    QDir dir(sessionDir_);
    // Copies first and the marker last: an interrupted clean-up leaves either
    // copies with their marker or a marker alone, never copies without owner.
    for (const QString& f : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (f != kMarker)
            dir.remove(f);
    dir.remove(kMarker);
    if (!dir.rmdir(sessionDir_) && !dir.removeRecursively())
        return fail(error, QStringLiteral("Cannot remove the recovery folder %1").arg(sessionDir_));
    sessionDir_.clear();
    return true;
}

bool RecoveryStore::Save(const QString& id, const QString& documentPath, const QByteArray& text, QString* error) {
    if (!IsValidId(id))
        return fail(error, QStringLiteral("\"%1\" cannot name a recovery copy").arg(id));
    if (!InSession())
        return fail(error, QStringLiteral("No recovery session has begun"));
    return writeWhole(sessionDir_ + id + kSuffix,
                      EncodeRecoveryFile(documentPath, QDateTime::currentDateTimeUtc(), text), error);
}

bool RecoveryStore::Remove(const QString& id, QString* error) {
    if (!InSession() || !IsValidId(id))
        return true;
    QFile file(sessionDir_ + id + kSuffix);
    if (file.exists() && !file.remove())
        return fail(error, QStringLiteral("Cannot remove %1: %2").arg(file.fileName(), file.errorString()));
    return true;
}

bool RecoveryStore::Has(const QString& id) const {
    return InSession() && IsValidId(id) && QFileInfo::exists(sessionDir_ + id + kSuffix);
}

QStringList RecoveryStore::endedSessions() const {
    QStringList ended;
    const QDir root(folder_);
    for (const QString& name : root.entryList({QStringLiteral("session-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString dir = folder_ + name + QLatin1Char('/');
        if (dir == sessionDir_)
            continue;
        QFile marker(dir + kMarker);
        ProcessIdentity owner;
        // A folder without a readable marker has no owner to wait for.
        if (marker.open(QIODevice::ReadOnly) && ProcessIdentity::Parse(marker.read(4096), owner) &&
            IsProcessRunning(owner))
            continue;
        ended.append(dir);
    }
    return ended;
}

bool RecoveryStore::PreviousSessionCrashed() const {
    const QStringList ended = endedSessions();
    return std::any_of(ended.begin(), ended.end(), [](const QString& dir) { return !copiesIn(dir).isEmpty(); });
}

QList<RecoveryEntry> RecoveryStore::List(QStringList* problems) const {
    QList<RecoveryEntry> entries;
    for (const QString& dir : endedSessions()) {
        for (const QString& name : copiesIn(dir)) {
            RecoveryEntry entry;
            entry.file = dir + name;
            entry.id = name.chopped(kSuffix.size());
            QFile file(entry.file);
            if (!file.open(QIODevice::ReadOnly)) {
                if (problems)
                    problems->append(QStringLiteral("%1: cannot be read (%2)").arg(entry.file, file.errorString()));
                continue;
            }
            RecoveryHeader header;
            QString reason;
            if (!DecodeRecoveryFile(file.readAll(), header, nullptr, &reason)) {
                if (problems)
                    problems->append(QStringLiteral("%1: %2").arg(entry.file, reason));
                continue;
            }
            entry.documentPath = header.documentPath;
            entry.size = header.size;
            entry.saved = header.saved;
            entries.append(entry);
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.saved < b.saved; });
    return entries;
}

std::optional<QByteArray> RecoveryStore::Load(const RecoveryEntry& entry, QString* error) const {
    QFile file(entry.file);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("%1: cannot be read (%2)").arg(entry.file, file.errorString()));
        return std::nullopt;
    }
    RecoveryHeader header;
    QByteArray text;
    QString reason;
    if (!DecodeRecoveryFile(file.readAll(), header, &text, &reason)) {
        fail(error, QStringLiteral("%1: %2").arg(entry.file, reason));
        return std::nullopt;
    }
    return text;
}

bool RecoveryStore::Discard(const RecoveryEntry& entry, QString* error) {
    const QFileInfo info(entry.file);
    const QString dir = info.absolutePath() + QLatin1Char('/');
    // Only copies of ended sessions in this recovery folder are discarded here.
    if (!endedSessions().contains(dir) || !info.fileName().endsWith(kSuffix))
        return fail(error, QStringLiteral("%1 is not a recovered copy").arg(entry.file));
    QFile file(entry.file);
    if (file.exists() && !file.remove())
        return fail(error, QStringLiteral("Cannot remove %1: %2").arg(entry.file, file.errorString()));
    // With its last intact copy gone, the folder goes too, with stray
    // temporary files and the damaged copies that List reported.
    const QStringList left = copiesIn(dir);
    const bool intactLeft = std::any_of(left.begin(), left.end(), [&dir](const QString& name) {
        QFile other(dir + name);
        RecoveryHeader header;
        return other.open(QIODevice::ReadOnly) && DecodeRecoveryFile(other.readAll(), header, nullptr, nullptr);
    });
    if (!intactLeft && !QDir(dir).removeRecursively())
        return fail(error, QStringLiteral("Cannot remove the recovery folder %1").arg(dir));
    return true;
}

bool RecoveryStore::DiscardAll(QString* error) {
    bool ok = true;
    for (const QString& dir : endedSessions())
        if (!QDir(dir).removeRecursively()) {
            ok = false;
            fail(error, QStringLiteral("Cannot remove the recovery folder %1").arg(dir));
        }
    return ok;
}

}  // namespace vlr
