// The list of open windows at the end of the Window menu, as desktop
// programs keep it: one item per child window of the document area, the
// active one checked, rebuilt each time the menu opens; choosing an item
// brings its window to the front.
#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QAction;
class QMdiArea;
class QMenu;

namespace vlr {

class WindowListMenu : public QObject {
    Q_OBJECT
public:
    WindowListMenu(QMenu* menu, QMdiArea* area);

    // The items of the list as they are now (the separator first when there
    // are windows).
    const std::vector<QAction*>& items() const { return items_; }
    // Rebuilds the list from the area's windows.
    void Refresh();

private:
    QMenu* menu_;
    QPointer<QMdiArea> area_;
    std::vector<QAction*> items_;
};

}  // namespace vlr
