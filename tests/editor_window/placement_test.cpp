// Where new editor windows appear in the document area, and the Window
// menu's list of open windows, used through the menu bar.
#include "EditorFixture.h"

#include "app/commands/MainCommands.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

using vlrtest::EditorTest;

class PlacementTest : public EditorTest {
protected:
    QRect Visible() const { return main->MdiArea()->viewport()->rect(); }
    // Opens the Window menu with a click on the menu bar, as the user does.
    QMenu* OpenWindowMenu() {
        QMenu* menu = main->Commands().menu("Window1");
        QMenuBar* bar = main->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(menu->menuAction()).center());
        EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        return menu;
    }
    // The items after the arranging commands: the list of windows.
    std::vector<QAction*> ListedWindows(QMenu* menu) const {
        std::vector<QAction*> items;
        for (QAction* a : menu->actions())
            if (a->objectName().startsWith("WindowListItem"))
                items.push_back(a);
        return items;
    }
};

}  // namespace

TEST(EditorWindowPlace, CascadesInsideTheVisibleArea) {
    const QRect visible(0, 0, 900, 600);
    const QRect first = vlr::EditorWindowPlace(visible, 0, 24);
    EXPECT_EQ(first.topLeft(), QPoint(0, 0));
    EXPECT_EQ(first.size(), QSize(600, 400));
    EXPECT_EQ(vlr::EditorWindowPlace(visible, 3, 24).topLeft(), QPoint(72, 72));
    // Every window of a long cascade stays wholly visible: it starts again at the corner.
    for (int n = 0; n < 40; ++n)
        EXPECT_TRUE(visible.contains(vlr::EditorWindowPlace(visible, n, 24))) << n;
    EXPECT_EQ(vlr::EditorWindowPlace(visible, 9, 24).topLeft(), QPoint(0, 0));
    // A small area is filled rather than overflowed.
    const QRect small(0, 0, 400, 250);
    EXPECT_EQ(vlr::EditorWindowPlace(small, 0, 24), small);
    EXPECT_EQ(vlr::EditorWindowPlace(small, 5, 24), small);
}

TEST_F(PlacementTest, NewWindowsOpenInTheVisiblePartOfTheArea) {
    main->resize(1000, 760);  // with the side panel showing beside the area
    QApplication::processEvents();
    ASSERT_TRUE(main->SidePanelVisible());
    std::vector<vlr::TFrmEditor*> windows;
    for (int i = 0; i < 4; ++i)
        windows.push_back(NewEditor());
    QPoint last(-1, -1);
    for (vlr::TFrmEditor* e : windows) {
        const QRect g = e->subWindow()->geometry();
        EXPECT_TRUE(Visible().contains(g)) << g.x() << "," << g.y() << " " << g.width() << "x" << g.height();
        EXPECT_GE(g.width(), std::min(480, Visible().width()));
        EXPECT_GE(g.height(), std::min(320, Visible().height()));
        EXPECT_NE(g.topLeft(), last);  // each one cascaded from the last
        last = g.topLeft();
    }

    // A user who works with maximised windows gets the next one maximised.
    windows.back()->subWindow()->showMaximized();
    vlr::TFrmEditor* next = NewEditor();
    EXPECT_TRUE(next->subWindow()->isMaximized());
}

TEST_F(PlacementTest, TheWindowMenuListsTheOpenWindowsAndBringsOneForward) {
    WriteFile(path("a.hts"), "a");
    WriteFile(path("b&c.hts"), "b");
    vlr::TFrmEditor* a = EditorFor(path("a.hts"));
    vlr::TFrmEditor* b = EditorFor(path("b&c.hts"));
    vlr::TFrmEditor* untitled = NewEditor();

    QMenu* menu = OpenWindowMenu();
    std::vector<QAction*> items = ListedWindows(menu);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->text().toStdString(), "&1 a.hts");
    EXPECT_EQ(items[1]->text().toStdString(), "&2 b&&c.hts");
    EXPECT_EQ(items[2]->text().toStdString(), "&3 " + untitled->windowTitle().toStdString());
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[2]->isChecked());  // the active window
    // The arranging commands stay first.
    EXPECT_EQ(menu->actions().front()->objectName().toStdString(), "Tile1");

    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(items[0]).center());
    QApplication::processEvents();
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(main->MdiArea()->activeSubWindow(), a->subWindow());

    // Closed windows leave the list; a minimised one comes back when chosen.
    untitled->subWindow()->close();
    b->subWindow()->showMinimized();
    menu = OpenWindowMenu();
    items = ListedWindows(menu);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1]->text().toStdString(), "&2 b&&c.hts");
    QTest::keyClick(menu, Qt::Key_2);
    QApplication::processEvents();
    EXPECT_EQ(main->MdiArea()->activeSubWindow(), b->subWindow());
    EXPECT_FALSE(b->subWindow()->isMinimized());
}
