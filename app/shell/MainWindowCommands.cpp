// The main window's view commands: toolbars, the side panel, the menu
// animation and the dock menu. The window-level commands are the window unit's.
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/shell/MainWindow.h"
#include "app/units/UnitCommands.h"
#include "app/shell/MenuAnimator.h"
#include "app/shell/WindowListMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSplitter>
#include <QToolBar>

#include <algorithm>

#include "app/shell/SidePanel.h"

namespace vlr {

void TFrmMainVLR::connectCommands() {
    auto on = [this](const char* name, std::string method, std::function<void()> handler) {
        ConnectCommand(*this, this, name, std::move(method), std::move(handler));
    };
    on("FileList1", "FileList1Click", [this] { FileListClick(); });
    on("SwitchPane1", "SwitchPane1Click", [this] { SwitchPaneClick(); });
    on("WiderPanel1", "WiderPanel1Click", [this] { ResizeSidePanel(kPanelStep); });
    on("NarrowerPanel1", "NarrowerPanel1Click", [this] { ResizeSidePanel(-kPanelStep); });
    on("DoubleSpeed1", "DoubleSpeed1Click", [this] { DoubleSpeedClick(); });
    const std::pair<const char*, const char*> toolbars[] = {
        {"MainToolbar1", "TlbMain"},  {"EditToolbar1", "TLBEditor"}, {"HTMLToolbar1", "TlbHTML"},
        {"FormsToolbar1", "TLBForms"}, {"TextToolbar1", "TlbText"},   {"MainToolbar2", "TlbMain"},
        {"EditToolbar2", "TLBEditor"}, {"HTMLToolbar2", "TlbHTML"},   {"FormsToolbar2", "TLBForms"},
        {"TextToolbar2", "TlbText"},
    };
    for (const auto& [name, bar] : toolbars)
        on(name, std::string(name) + "Click", [this, bar = bar] { ToggleToolbar(bar); });
    const std::pair<const char*, MenuAnimation> kinds[] = {
        {"None1", MenuAnimation::None},   {"VerticalSlide1", MenuAnimation::VSlide},
        {"HorizontalSlide1", MenuAnimation::HSlide}, {"Smart1", MenuAnimation::Smart},
        {"Unfold1", MenuAnimation::Unfold}, {"popup1", MenuAnimation::Popup},
        {"Random1", MenuAnimation::Random},
    };
    for (const auto& [name, kind] : kinds)
        on(name, std::string(name) + "Click", [this, k = kind] { SetMenuAnimation(k); });
    if (QMenu* view = commands_->menu("View1"))
        connect(view, &QMenu::aboutToShow, this, [this] { RunGuarded(*this, this, "View1Click", [this] { View1Click(); }); });
    if (QMenu* dock = commands_->menu("PopupMenu981")) {
        dockMenu_ = dock;
        connect(dock, &QMenu::aboutToShow, this, [this] {
            RunGuarded(*this, this, "PopupMenu981Popup", [this] {
                const std::pair<const char*, const char*> items[] = {
                    {"MainToolbar2", "TlbMain"}, {"EditToolbar2", "TLBEditor"}, {"HTMLToolbar2", "TlbHTML"},
                    {"FormsToolbar2", "TLBForms"}, {"TextToolbar2", "TlbText"}};
                for (const auto& [item, bar] : items)
                    if (QAction* a = commands_->action(item))
                        if (QToolBar* t = commands_->toolbar(bar))
                            a->setChecked(t->isVisible());
            });
        });
    }
    if (QMenu* window = commands_->menu("Window1"))
        new WindowListMenu(window, mdi_);
    connect(side_, &SidePanel::closeRequested, this,
            [this] { RunGuarded(*this, this, "SpeedButton1Click", [this] { SetSidePanelVisible(false); }); });
    for (const auto& unit : units_)
        unit->ConnectCommands();
}

void TFrmMainVLR::ToggleToolbar(const QString& objectName) {
    if (QToolBar* t = commands_->toolbar(objectName))
        t->setVisible(!t->isVisible());
}

void TFrmMainVLR::FileListClick() {
    Enter("FileList1Click");
    SetSidePanelVisible(!SidePanelVisible());
}

void TFrmMainVLR::SetSidePanelVisible(bool visible) {
    // One state for both: the panel and its splitter handle never disagree.
    side_->setVisible(visible);
    splitter_->handle(1)->setVisible(visible);
}

bool TFrmMainVLR::SidePanelVisible() const { return !side_->isHidden(); }

void TFrmMainVLR::SwitchPaneClick() {
    Enter("SwitchPane1Click");
    // From the side panel (or anywhere outside the documents) to the active document, and from
    // a document to the side panel, shown first when it was hidden.
    QWidget* focus = QApplication::focusWidget();
    const bool inPanel = focus && side_->isAncestorOf(focus);
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if ((inPanel || !focus || !mdi_->isAncestorOf(focus)) && active) {
        active->widget()->setFocus(Qt::ShortcutFocusReason);
        if (QWidget* child = active->widget()->focusWidget())
            child->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    if (!SidePanelVisible())
        SetSidePanelVisible(true);
    side_->setFocus(Qt::ShortcutFocusReason);
    if (QWidget* first = side_->nextInFocusChain(); first && side_->isAncestorOf(first))
        first->setFocus(Qt::ShortcutFocusReason);
}

void TFrmMainVLR::ResizeSidePanel(int delta) {
    Enter(delta > 0 ? "WiderPanel1Click" : "NarrowerPanel1Click");
    if (!SidePanelVisible())
        SetSidePanelVisible(true);
    QList<int> sizes = splitter_->sizes();
    if (sizes.size() != 2)
        return;
    const int total = sizes[0] + sizes[1];
    const int panel = std::clamp(sizes[1] + delta, side_->minimumSizeHint().width(), total - kPanelStep);
    splitter_->setSizes({total - panel, panel});
}

void TFrmMainVLR::SetMenuAnimation(MenuAnimation kind) {
    menuAnimation_ = kind;
    ApplyMenuAnimation();
    Preferences(PreferencesPath()).WriteType(kind);
}

void TFrmMainVLR::DoubleSpeedClick() {
    Enter("DoubleSpeed1Click");
    menuDoubleSpeed_ = !menuDoubleSpeed_;
    ApplyMenuAnimation();
    Preferences(PreferencesPath()).WriteMenuDoubleSpeed(menuDoubleSpeed_);
}

void TFrmMainVLR::ApplyMenuAnimation() {
    if (auto* animator = findChild<MenuAnimator*>())
        animator->setAnimation(menuAnimation_, menuDoubleSpeed_);
}

void TFrmMainVLR::View1Click() {
    Enter("View1Click");
    const std::pair<const char*, const char*> items[] = {
        {"MainToolbar1", "TlbMain"}, {"EditToolbar1", "TLBEditor"}, {"HTMLToolbar1", "TlbHTML"},
        {"FormsToolbar1", "TLBForms"}, {"TextToolbar1", "TlbText"}};
    for (const auto& [item, bar] : items)
        if (QAction* a = commands_->action(item))
            if (QToolBar* t = commands_->toolbar(bar))
                a->setChecked(t->isVisible());
    if (QAction* a = commands_->action("EditorOptions1"))
        gate_->setEnabled(a, ActiveChildClass() == "TFrmEditor");
    if (QAction* a = commands_->action("FileList1"))
        a->setChecked(SidePanelVisible());
    if (QAction* a = commands_->action("DoubleSpeed1"))
        a->setChecked(menuDoubleSpeed_);
    const char* kindItems[] = {"None1", "VerticalSlide1", "HorizontalSlide1", "Smart1", "Unfold1", "popup1", "Random1"};
    if (QAction* a = commands_->action(kindItems[static_cast<int>(menuAnimation_)]))
        a->setChecked(true);
}

QMenu* TFrmMainVLR::createPopupMenu() {
    // The dock menu belongs to the command set; Qt deletes what this returns,
    // so hand out a copy that triggers the real items.
    if (!dockMenu_)
        return QMainWindow::createPopupMenu();
    Q_EMIT dockMenu_->aboutToShow();
    auto* copy = new QMenu(this);
    for (QAction* a : dockMenu_->actions())
        copy->addAction(a);
    return copy;
}

}  // namespace vlr
