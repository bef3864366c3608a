// The side panel (Panel1): a title line with its "x" button, the pages
// "FileList" (a button row over the project's file list) and "Colors", and the
// tab strip at its foot that switches between them.
#pragma once

#include "app/units/FileListArea.h"

#include <QWidget>

class QLabel;
class QToolBar;
class QToolButton;
class QStackedWidget;
class QTabBar;
class QTreeWidget;

namespace vlr {

class SidePanel : public QWidget, public FileListArea {
    Q_OBJECT
public:
    explicit SidePanel(QWidget* parent = nullptr);

    QString title() const;
    QTreeWidget* fileList() const override { return fileList_; }
    // The button row above the file list.
    QToolBar* fileButtons() const override { return fileButtons_; }
    QToolButton* closeButton() const { return close_; }
    QTabBar* tabs() const { return tabs_; }
    // Puts the colour picker onto the "Colors" page.
    void setColorsPage(QWidget* page);
    QWidget* colorsPage() const { return colors_; }
    // TabSet1Click: tab 1 shows "Colors" with the title " Color Picker",
    // any other the file list with " File List".
    void TabSet1Click(int index);

Q_SIGNALS:
    // The "x" button was pressed: the owner hides the panel and its splitter.
    void closeRequested();

private:
    QLabel* title_;
    QStackedWidget* pages_;
    QTreeWidget* fileList_;
    QToolBar* fileButtons_;
    QToolButton* close_;
    QWidget* colors_;
    QTabBar* tabs_;
};

}  // namespace vlr
