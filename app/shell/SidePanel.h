// The side panel (Panel1): a title line, the pages "FileList" and "Colors", and
// the tab strip at its foot that switches between them.
#pragma once

#include <QWidget>

class QLabel;
class QStackedWidget;
class QTabBar;
class QTreeWidget;

namespace vlr {

class SidePanel : public QWidget {
    Q_OBJECT
public:
    explicit SidePanel(QWidget* parent = nullptr);

    QString title() const;
    QTreeWidget* fileList() const { return fileList_; }
    QTabBar* tabs() const { return tabs_; }
    // Puts the colour picker onto the "Colors" page.
    void setColorsPage(QWidget* page);
    QWidget* colorsPage() const { return colors_; }
    // TabSet1Click: tab 1 shows "Colors" with the title " Color Picker",
    // any other the file list with " File List".
    void TabSet1Click(int index);

private:
    QLabel* title_;
    QStackedWidget* pages_;
    QTreeWidget* fileList_;
    QWidget* colors_;
    QTabBar* tabs_;
};

}  // namespace vlr
