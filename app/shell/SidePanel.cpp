#include "app/shell/SidePanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vlr {
namespace {

// TabSet1DrawTab: the selected tab in the window-text colour and bold, the
// others white and regular, on the dark workspace background.
class SideTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Dark));
        for (int i = 0; i < count(); ++i) {
            QRect r = tabRect(i);
            QFont f = font();
            bool selected = i == currentIndex();
            f.setBold(selected);
            p.setFont(f);
            if (selected) {
                p.fillRect(r.adjusted(1, 0, -1, -2), palette().color(QPalette::Window));
                p.setPen(palette().color(QPalette::WindowText));
            } else {
                p.setPen(Qt::white);
            }
            p.drawText(r, Qt::AlignCenter, tabText(i));
        }
    }
    QSize tabSizeHint(int index) const override {
        QSize s = QTabBar::tabSizeHint(index);
        QFont f = font();
        f.setBold(true);
        s.setWidth(QFontMetrics(f).horizontalAdvance(tabText(index)) + 16);
        return s;
    }
};

}  // namespace

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("Panel1");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    title_ = new QLabel(" File List", this);
    title_->setObjectName("Panel2");
    title_->setAutoFillBackground(true);
    title_->setStyleSheet("QLabel#Panel2 { background: palette(highlight); color: palette(highlighted-text);"
                          " font-weight: bold; padding: 3px 2px; }");
    layout->addWidget(title_);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("Notebook1");
    fileList_ = new QTreeWidget(pages_);
    fileList_->setObjectName("ListView1");
    fileList_->setRootIsDecorated(false);
    fileList_->setHeaderLabels({"Filename", "Output Path", "fullpath", "outputpath"});
    fileList_->setColumnWidth(0, 120);
    fileList_->setColumnWidth(1, 83);
    fileList_->setColumnHidden(2, true);
    fileList_->setColumnHidden(3, true);
    fileList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fileList_->setSelectionMode(QAbstractItemView::SingleSelection);
    fileList_->header()->setSectionsClickable(true);
    pages_->addWidget(fileList_);
    colors_ = new QWidget(pages_);
    colors_->setObjectName("Colors");
    auto* colorsLayout = new QVBoxLayout(colors_);
    colorsLayout->setContentsMargins(0, 0, 0, 0);
    pages_->addWidget(colors_);
    layout->addWidget(pages_, 1);

    tabs_ = new SideTabBar(this);
    tabs_->setObjectName("TabSet1");
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->addTab("  Files  ");
    tabs_->addTab("  Colors  ");
    tabs_->setAutoFillBackground(true);
    connect(tabs_, &QTabBar::currentChanged, this, &SidePanel::TabSet1Click);
    layout->addWidget(tabs_);
}

QString SidePanel::title() const { return title_->text(); }

void SidePanel::setColorsPage(QWidget* page) {
    page->setParent(colors_);
    colors_->layout()->addWidget(page);
}

void SidePanel::TabSet1Click(int index) {
    if (index == 1) {
        pages_->setCurrentWidget(colors_);
        title_->setText(" Color Picker");
    } else {
        pages_->setCurrentWidget(fileList_);
        title_->setText(" File List");
    }
}

}  // namespace vlr
