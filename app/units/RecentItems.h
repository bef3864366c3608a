// A recent-items list of the main window (projects, files) as the units use
// it: add and remove items, attach it to a menu, and hear which item the user
// chose from that menu.
#pragma once

#include <QMetaObject>
#include <QString>
#include <QStringList>

#include <functional>

class QMenu;
class QObject;

namespace vlr {

class RecentItems {
public:
    virtual ~RecentItems() = default;

    // Puts the item first (removing an older copy) and saves at once.
    virtual void Add(const QString& item) = 0;
    virtual void Remove(const QString& item) = 0;
    virtual const QStringList& items() const = 0;
    // The menu shows the items as "&1 path", "&2 path", ...
    virtual void AttachMenu(QMenu* menu) = 0;
    // Runs `chosen` in `context` with the item the user picks from the menu;
    // the connection ends with `context`.
    virtual QMetaObject::Connection OnChosen(QObject* context, std::function<void(const QString&)> chosen) = 0;
};

}  // namespace vlr
