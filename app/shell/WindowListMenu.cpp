// The Window menu's list of open windows.
#include "app/shell/WindowListMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace vlr {

WindowListMenu::WindowListMenu(QMenu* menu, QMdiArea* area) : QObject(menu), menu_(menu), area_(area) {
    connect(menu_, &QMenu::aboutToShow, this, [this] { Refresh(); });
}

void WindowListMenu::Refresh() {
    for (QAction* a : items_) {
        menu_->removeAction(a);
        a->deleteLater();
    }
    items_.clear();
    if (!area_)
        return;
    const QList<QMdiSubWindow*> windows = area_->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    items_.push_back(menu_->addSeparator());
    QMdiSubWindow* active = area_->activeSubWindow();
    int number = 0;
    for (QMdiSubWindow* sub : windows) {
        ++number;
        // A "&" in a file's name is shown, not taken as the accelerator; the
        // first nine windows are chosen with their digit.
        QString title = sub->windowTitle();
        if (title.isEmpty() && sub->widget())
            title = sub->widget()->windowTitle();
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        const QString caption = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                            : QStringLiteral("%1 %2").arg(number).arg(title);
        QAction* item = menu_->addAction(caption);
        item->setObjectName(QStringLiteral("WindowListItem%1").arg(number));
        item->setCheckable(true);
        item->setChecked(sub == active);
        QPointer<QMdiSubWindow> target(sub);
        connect(item, &QAction::triggered, this, [this, target] {
            if (!target || !area_)
                return;
            if (target->isMinimized())
                target->showNormal();
            // Activation gives the focus back to where it was in the window.
            area_->setActiveSubWindow(target);
        });
        items_.push_back(item);
    }
}

}  // namespace vlr
