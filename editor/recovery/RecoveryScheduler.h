// When recovery copies are written: a few seconds after a document's last
// change, from the event loop (so never in the middle of an edit), and at the
// latest some time after its first unsaved change even while typing goes on.
// Saving or closing the document cancels its pending copy and deletes the
// one on disk.
#pragma once

#include "editor/recovery/RecoveryStore.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QString>

#include <chrono>
#include <map>
#include <memory>

class QTimer;

namespace vlr {

// What the scheduler asks of a document when its copy is due. An editor
// window (or an adapter beside it) implements it. If the implementing object
// is also a QObject, its destruction cancels its pending copy by itself.
class RecoverySource {
public:
    virtual ~RecoverySource() = default;
    // The document's full path; empty while it has no file.
    [[nodiscard]] virtual QString RecoveryDocumentPath() const = 0;
    // The whole current text, as it would be saved.
    [[nodiscard]] virtual QByteArray RecoveryText() const = 0;
};

class RecoveryScheduler : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDefaultDelay{3000};
    static constexpr std::chrono::milliseconds kDefaultMaxDelay{30000};

    explicit RecoveryScheduler(RecoveryStore& store, QObject* parent = nullptr);
    ~RecoveryScheduler() override;

    // Quiet time after the last change before the copy is written.
    void SetDelay(std::chrono::milliseconds delay);
    [[nodiscard]] std::chrono::milliseconds Delay() const { return delay_; }
    // Longest time a change waits while more changes keep coming.
    void SetMaxDelay(std::chrono::milliseconds maxDelay);
    [[nodiscard]] std::chrono::milliseconds MaxDelay() const { return maxDelay_; }

    // The document `id` changed; `source` must stay valid until the copy is
    // written, or DocumentSaved/DocumentClosed is called, or (for a QObject
    // source) it is destroyed.
    void DocumentChanged(const QString& id, RecoverySource& source);
    // The document was saved, or it no longer differs from its file: no copy
    // is needed any more.
    void DocumentSaved(const QString& id);
    // The document was closed (without saving or after it): no copy either.
    void DocumentClosed(const QString& id);
    // Writes every pending copy now, e.g. before a step that may take the
    // process down with it.
    void SaveAllNow();

    [[nodiscard]] bool IsPending(const QString& id) const { return pending_.count(id) != 0; }

Q_SIGNALS:
    void RecoveryWritten(const QString& id);
    void RecoveryFailed(const QString& id, const QString& reason);

private:
    struct Pending {
        RecoverySource* source = nullptr;
        std::unique_ptr<QTimer> timer;
        QElapsedTimer sinceFirstChange;
        QMetaObject::Connection destroyed;
    };
    void forget(const QString& id);
    void drop(const QString& id);
    void write(const QString& id);

    RecoveryStore& store_;
    std::chrono::milliseconds delay_ = kDefaultDelay;
    std::chrono::milliseconds maxDelay_ = kDefaultMaxDelay;
    std::map<QString, Pending> pending_;
};

}  // namespace vlr
