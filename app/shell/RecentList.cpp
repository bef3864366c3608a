#include "app/shell/RecentList.h"

#include "platform/IniFile.h"

#include <QAction>
#include <QMenu>

namespace vlr {

RecentList::RecentList(QString iniPath, QString section, QObject* parent)
    : QObject(parent), iniPath_(std::move(iniPath)), section_(std::move(section)) {}

void RecentList::Load() {
    IniFile ini(iniPath_.toStdString());
    items_.clear();
    for (int i = 0; i < kMaxItems; ++i) {
        std::string v = ini.ReadString(section_.toStdString(), "Item_" + std::to_string(i), "");
        if (!v.empty() && !items_.contains(QString::fromStdString(v)))
            items_ << QString::fromStdString(v);
    }
    rebuildMenu();
}

void RecentList::Save() const {
    IniFile ini(iniPath_.toStdString());
    ini.EraseSection(section_.toStdString());
    for (int i = 0; i < items_.size(); ++i)
        ini.WriteString(section_.toStdString(), "Item_" + std::to_string(i), items_[i].toStdString());
}

void RecentList::Add(const QString& item) {
    if (item.isEmpty())
        return;
    items_.removeAll(item);
    items_.prepend(item);
    while (items_.size() > kMaxItems)
        items_.removeLast();
    Save();
    rebuildMenu();
}

void RecentList::Remove(const QString& item) {
    if (items_.removeAll(item) > 0) {
        Save();
        rebuildMenu();
    }
}

void RecentList::AttachMenu(QMenu* menu) {
    menu_ = menu;
    rebuildMenu();
}

void RecentList::setMenuEnabled(bool enabled) {
    enabled_ = enabled;
    rebuildMenu();
}

void RecentList::rebuildMenu() {
    if (!menu_)
        return;
    menu_->clear();
    for (int i = 0; i < items_.size(); ++i) {
        QString label = QStringLiteral("&%1 %2").arg(i + 1).arg(items_[i]);
        QAction* a = menu_->addAction(label);
        a->setData(items_[i]);
        a->setEnabled(enabled_);
        connect(a, &QAction::triggered, this, [this, item = items_[i]] { Q_EMIT chosen(item); });
    }
    menu_->setEnabled(!items_.isEmpty());
}

QMetaObject::Connection RecentList::OnChosen(QObject* context, std::function<void(const QString&)> chosen) {
    return connect(this, &RecentList::chosen, context, std::move(chosen));
}

}  // namespace vlr
