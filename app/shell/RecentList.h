// A recent-items list kept in one section of the preferences file under keys
// "Item_0", "Item_1", ... (most recent first), with its menu.
#pragma once

#include "app/units/RecentItems.h"

#include <QObject>
#include <QStringList>

class QMenu;

namespace vlr {

class RecentList : public QObject, public RecentItems {
    Q_OBJECT
public:
    static constexpr int kMaxItems = 9;

    RecentList(QString iniPath, QString section, QObject* parent = nullptr);

    void Load();
    void Save() const;
    // Puts the item first (removing an older copy) and saves at once.
    void Add(const QString& item) override;
    void Remove(const QString& item) override;
    const QStringList& items() const override { return items_; }

    // The menu shows the items as "&1 path", "&2 path", ...; choosing one
    // emits chosen() with the item. Rebuilt whenever the list changes.
    void AttachMenu(QMenu* menu) override;
    QMetaObject::Connection OnChosen(QObject* context, std::function<void(const QString&)> chosen) override;
    void setMenuEnabled(bool enabled);

Q_SIGNALS:
    void chosen(const QString& item);

private:
    void rebuildMenu();
    QString iniPath_;
    QString section_;
    QStringList items_;
    QMenu* menu_ = nullptr;
    bool enabled_ = true;
};

}  // namespace vlr
