#include "editor/recovery/RecoveryScheduler.h"

#include <QTimer>

#include <algorithm>
#include <vector>

namespace vlr {

RecoveryScheduler::RecoveryScheduler(RecoveryStore& store, QObject* parent) : QObject(parent), store_(store) {}

RecoveryScheduler::~RecoveryScheduler() {
    for (auto& [id, p] : pending_)
        QObject::disconnect(p.destroyed);
}

void RecoveryScheduler::SetDelay(std::chrono::milliseconds delay) {
    delay_ = std::max(delay, std::chrono::milliseconds(0));
}

void RecoveryScheduler::SetMaxDelay(std::chrono::milliseconds maxDelay) {
    maxDelay_ = std::max(maxDelay, std::chrono::milliseconds(0));
}

void RecoveryScheduler::DocumentChanged(const QString& id, RecoverySource& source) {
    auto [it, added] = pending_.try_emplace(id);
    Pending& p = it->second;
    if (added) {
        p.timer = std::make_unique<QTimer>();
        p.timer->setSingleShot(true);
        connect(p.timer.get(), &QTimer::timeout, this, [this, id] { write(id); });
        p.sinceFirstChange.start();
    }
    if (p.source != &source) {
        QObject::disconnect(p.destroyed);
        p.source = &source;
        // A source that is a QObject may be destroyed before it is asked.
        if (auto* object = dynamic_cast<QObject*>(&source))
            p.destroyed = connect(object, &QObject::destroyed, this, [this, id] { forget(id); });
    }
    const auto waited = std::chrono::milliseconds(p.sinceFirstChange.elapsed());
    const auto left = std::max(maxDelay_ - waited, std::chrono::milliseconds(0));
    p.timer->start(std::min(delay_, left));
}

void RecoveryScheduler::DocumentSaved(const QString& id) { drop(id); }

void RecoveryScheduler::DocumentClosed(const QString& id) { drop(id); }

void RecoveryScheduler::SaveAllNow() {
    std::vector<QString> ids;
    for (const auto& [id, p] : pending_)
        ids.push_back(id);
    for (const QString& id : ids)
        write(id);
}

void RecoveryScheduler::forget(const QString& id) {
    auto it = pending_.find(id);
    if (it == pending_.end())
        return;
    QObject::disconnect(it->second.destroyed);
    // This may run inside the timer's own timeout: stop it now, delete it later.
    it->second.timer->stop();
    it->second.timer.release()->deleteLater();
    pending_.erase(it);
}

void RecoveryScheduler::drop(const QString& id) {
    forget(id);
    QString error;
    if (!store_.Remove(id, &error))
        Q_EMIT RecoveryFailed(id, error);
}

void RecoveryScheduler::write(const QString& id) {
    auto it = pending_.find(id);
    if (it == pending_.end())
        return;
    RecoverySource* source = it->second.source;
    // The entry goes first: the next change starts a new wait, whatever the
    // outcome of this write.
    forget(id);
    QString error;
    if (store_.Save(id, source->RecoveryDocumentPath(), source->RecoveryText(), &error))
        Q_EMIT RecoveryWritten(id);
    else
        Q_EMIT RecoveryFailed(id, error);
}

}  // namespace vlr
