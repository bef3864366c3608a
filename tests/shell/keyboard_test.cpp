// Everything the mouse does in the frame has a keyboard way: switching windows, moving between
// the document and the side panel, and sizing the side panel.
#include "ShellFixture.h"

#include "app/shell/MainWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QTest>

namespace vlrtest {
namespace {

TEST_F(ShellTest, KeysSwitchWindowsAndPanesAndSizeTheSidePanel) {
    WritePreferences("[Environment]\nNewEditor=0\n");
    auto w = NewMainWindow();
    QWidget* first = AddChild(*w, "TFrmEditor");
    QWidget* second = AddChild(*w, "TFrmEditor");
    for (QWidget* child : {first, second}) {
        auto* field = new QLineEdit(child);  // something in each window that takes the focus
        field->setObjectName(QStringLiteral("field"));
        field->show();
    }
    w->activateWindow();
    QMdiArea* mdi = w->findChild<QMdiArea*>();
    ASSERT_NE(mdi, nullptr);
    mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    QApplication::processEvents();

    // Ctrl+F6 and Ctrl+Shift+F6 go round the windows.
    QTest::keyClick(w.get(), Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(mdi->activeSubWindow()->widget(), second);
    QTest::keyClick(w.get(), Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(mdi->activeSubWindow()->widget(), first);

    // F6 takes the focus to the side panel and back to the document.
    first->findChild<QLineEdit*>(QStringLiteral("field"))->setFocus();
    QTest::keyClick(w.get(), Qt::Key_F6);
    auto* splitter = w->findChild<QSplitter*>(QStringLiteral("RxSplitter1"));
    ASSERT_NE(splitter, nullptr);
    QWidget* panel = splitter->widget(1);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(panel->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == panel);
    QTest::keyClick(w.get(), Qt::Key_F6);
    EXPECT_TRUE(first->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == first);

    // The View menu's commands move the splitter: the menu opened, the item chosen with keys.
    auto choose = [&](const char* name) {
        QAction* item = w->action(name);
        QMenu* menu = nullptr;
        for (QObject* o : item->associatedObjects())
            if (auto* candidate = qobject_cast<QMenu*>(o))
                menu = candidate;
        ASSERT_NE(menu, nullptr) << name;
        menu->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        menu->setActiveAction(item);
        QTest::keyClick(menu, Qt::Key_Return);
        QApplication::processEvents();
    };
    const int before = splitter->sizes()[1];
    choose("WiderPanel1");
    EXPECT_EQ(splitter->sizes()[1], before + 40);
    choose("NarrowerPanel1");
    choose("NarrowerPanel1");
    EXPECT_EQ(splitter->sizes()[1], before - 40);
}

}  // namespace
}  // namespace vlrtest
