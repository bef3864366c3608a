#include "app/shell/SidePanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
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

    auto* titleRow = new QWidget(this);
    titleRow->setObjectName("TitleRow");
    titleRow->setAutoFillBackground(true);
    titleRow->setStyleSheet("QWidget#TitleRow { background: palette(highlight); }");
    auto* titleLayout = new QHBoxLayout(titleRow);
    titleLayout->setContentsMargins(0, 0, 2, 0);
    titleLayout->setSpacing(0);
    title_ = new QLabel(" File List", titleRow);
    title_->setObjectName("Panel2");
    title_->setStyleSheet("QLabel#Panel2 { color: palette(highlighted-text); font-weight: bold; padding: 3px 2px; }");
    titleLayout->addWidget(title_, 1);
    close_ = new QToolButton(titleRow);
    close_->setObjectName("SpeedButton1");
    close_->setText("x");
    close_->setToolTip("Hide the side panel");
    close_->setAutoRaise(true);
    close_->setStyleSheet("QToolButton { color: palette(highlighted-text); font-weight: bold; }");
    connect(close_, &QToolButton::clicked, this, &SidePanel::closeRequested);
    titleLayout->addWidget(close_);
    layout->addWidget(titleRow);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("Notebook1");
    auto* filePage = new QWidget(pages_);
    filePage->setObjectName("FileList");
    auto* fileLayout = new QVBoxLayout(filePage);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    fileLayout->setSpacing(0);
    fileButtons_ = new QToolBar(filePage);
    fileButtons_->setObjectName("FileButtons");
    fileButtons_->setIconSize(QSize(16, 16));
    fileButtons_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    fileLayout->addWidget(fileButtons_);
    fileList_ = new QTreeWidget(filePage);
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
    fileList_->header()->setSortIndicatorShown(false);
    fileList_->setContextMenuPolicy(Qt::CustomContextMenu);
    fileLayout->addWidget(fileList_, 1);
    pages_->addWidget(filePage);
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
        pages_->setCurrentIndex(0);
        title_->setText(" File List");
    }
}

}  // namespace vlr
