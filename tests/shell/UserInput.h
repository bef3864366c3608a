// The user's way into the main window's commands, for the tests of every
// unit: menus opened with Alt and their access keys, tool bar buttons
// clicked. A test that goes this way also finds a command that is missing
// from its menu, has lost its key or sits on a hidden or disabled button.
#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <initializer_list>

namespace vlrtest {

// Opens a menu of the window's menu bar with Alt and its access key, then
// presses `keys` in the open menu (an item's access key; Return for the
// selected item when two items share a key).
inline void ChooseFromMenuBar(QWidget* window, Qt::Key menuKey, std::initializer_list<Qt::Key> keys) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, menuKey, Qt::AltModifier);
    QApplication::processEvents();
    for (Qt::Key key : keys) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu is open";
        QTest::keyClick(menu, key);
        QApplication::processEvents();
    }
}

// Clicks the visible tool bar button that shows `action`.
inline void ClickToolButtonOf(QAction* action) {
    QToolButton* button = nullptr;
    for (QObject* o : action->associatedObjects())
        if (auto* b = qobject_cast<QToolButton*>(o); b && b->isVisible())
            button = b;
    ASSERT_NE(button, nullptr) << action->objectName().toStdString() << " has no visible button";
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}

}  // namespace vlrtest
