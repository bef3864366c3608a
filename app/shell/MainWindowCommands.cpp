// The main window's window-level, help, view and preference commands.
#include "app/commands/MainCommands.h"
#include "app/shell/AboutBox.h"
#include "app/shell/CommandGate.h"
#include "app/shell/MainWindow.h"
#include "app/units/UnitCommands.h"
#include "editor/unit/EditorUnit.h"
#include "project/unit/ProjectUnit.h"
#include "platform/Prompter.h"
#include "app/shell/MenuAnimator.h"
#include "app/shell/WindowListMenu.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPointer>
#include <QPrinter>
#include <QSplitter>
#include <QToolBar>

#include <iostream>

#include "app/shell/SidePanel.h"

namespace vlr {

const char* TFrmMainVLR::VendorSite() { return "https://www.ardenne-websites.example"; }

void TFrmMainVLR::connectCommands() {
    auto on = [this](const char* name, std::string method, std::function<void()> handler) {
        ConnectCommand(*this, this, name, std::move(method), std::move(handler));
    };
    on("NewFile1", "ToolbarButton9717Click", [this] { NewFileClick(); });
    on("Save1", "Save1Click", [this] { SaveClick(); });
    on("Save2", "Save1Click", [this] { SaveClick(); });
    on("SaveAs1", "SaveAs1Click", [this] { SaveAsClick(); });
    on("SaveAll1", "SaveAll1Click", [this] { SaveAllClick(); });
    on("Close1", "Close1Click", [this] { CloseClick(); });
    on("CloseAll1", "CloseAll1Click", [this] { CloseAllClick(); });
    on("Exit1", "Exit1Click", [this] { ExitClick(); });
    on("Tile1", "Tile1Click", [this] { TileClick(); });
    on("Cascade1", "Cascade1Click", [this] { CascadeClick(); });
    on("ArrangeAll1", "ArrangeAll1Click", [this] { ArrangeAllClick(); });
    on("Contents1", "Contents1Click", [this] { HelpContentsClick(); });
    on("HelpContents1", "Contents1Click", [this] { HelpContentsClick(); });
    on("KeywordSearch1", "KeywordSearch1Click", [this] { HelpKeywordClick(); });
    on("HowToUseHelp1", "HowToUseHelp1Click", [this] { HelpOnHelpClick(); });
    on("About1", "About1Click", [this] { AboutClick(); });
    // Each page of the vendor's site has its own command and handler name.
    const std::pair<const char*, const char*> pages[] = {
        {"Velora1", ""},           {"MainPage1", ""},
        {"Downloads1", "/products.html"}, {"Developers1", "/developers.html"},
        {"Feedback1", "/feedback.html"},  {"Search2", "/search.html"},
    };
    for (const auto& [name, page] : pages)
        on(name, std::string(name) + "Click", [this, page = page] { OpenVendorPage(page); });
    on("Preferences1", "Preferences1Click", [this] { PreferencesClick(); });
    on("Preferences2", "Preferences1Click", [this] { PreferencesClick(); });
    on("ToolbarButton9729", "ToolbarButton9729Click", [this] { ColorPickerClick(); });
    on("PrinterSetup1", "PrinterSetup1Click", [this] { PrinterSetupClick(); });
    on("PrinterSetup2", "PrinterSetup1Click", [this] { PrinterSetupClick(); });
    on("Print1", "Print1Click", [this] { PrintClick(); });
    on("PrintDocument1", "Print1Click", [this] { PrintClick(); });
    on("OpenFromtheWeb1", "OpenFromtheWeb1Click", [this] { OpenFromTheWebClick(); });
    on("FileList1", "FileList1Click", [this] { FileListClick(); });
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

void TFrmMainVLR::NewFileClick() {
    Enter("ToolbarButton9717Click");
    setUpdatesEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProcessMessages();
    try {
        Editors().OpenNewEditor();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        setUpdatesEnabled(true);
        throw;
    }
    QApplication::restoreOverrideCursor();
    setUpdatesEnabled(true);
}

void TFrmMainVLR::SaveClick() {
    Enter("Save1Click");
    if (Handle h = ActiveChildHandle())
        SendMessage(h, 2998, 0, 0);
}

void TFrmMainVLR::SaveAsClick() {
    Enter("SaveAs1Click");
    if (Handle h = ActiveChildHandle())
        SendMessage(h, 2997, 0, 0);
}

void TFrmMainVLR::SaveAllClick() {
    Enter("SaveAll1Click");
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        Handle h = w->widget() ? w->widget()->property("vlrHandle").value<Handle>() : 0;
        if (GetClassName(h) == "TFrmEditor")
            SendMessage(h, 2998, 0, 0);
    }
    if (Project().ProjectFile() != "none")
        Project().SaveProjectFile();
}

void TFrmMainVLR::CloseClick() {
    Enter("Close1Click");
    if (QMdiSubWindow* w = mdi_->activeSubWindow())
        w->close();
}

void TFrmMainVLR::CloseAllClick() {
    Enter("CloseAll1Click");
    QList<QPointer<QMdiSubWindow>> children;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        children << w;
    // A window that stays open (its question was cancelled) stops the command there.
    for (const QPointer<QMdiSubWindow>& w : children)
        if (w && !w->close())
            return;
    // With every window closed the project goes too, asking first when it
    // holds unsaved changes.
    if (Project().ProjectFile() != kNoProjectFile)
        projectUnit_->CloseProjectClick();
    PostMessage(handle_, MSG_CLOSED_ALL, 0, 0);
}

void TFrmMainVLR::ExitClick() {
    Enter("Exit1Click");
    close();
}

void TFrmMainVLR::TileClick() {
    Enter("Tile1Click");
    mdi_->tileSubWindows();
}

void TFrmMainVLR::CascadeClick() {
    Enter("Cascade1Click");
    mdi_->cascadeSubWindows();
}

void TFrmMainVLR::ArrangeAllClick() {
    Enter("ArrangeAll1Click");
    // Minimised children line up along the bottom; the others are tiled.
    QList<QMdiSubWindow*> minimised;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        if (w->isMinimized())
            minimised << w;
    int x = 0;
    for (QMdiSubWindow* w : minimised) {
        QSize s = w->size();
        w->move(x, mdi_->viewport()->height() - s.height());
        x += s.width();
    }
    if (minimised.size() < mdi_->subWindowList().size())
        mdi_->tileSubWindows();
}

void TFrmMainVLR::OpenHelpPage(const QString& page) {
    ShellOpen(appDir_ + "help/" + page.toStdString());
}

void TFrmMainVLR::HelpContentsClick() {
    Enter("Contents1Click");
    OpenHelpPage("index.html");
}

void TFrmMainVLR::HelpKeywordClick() {
    Enter("KeywordSearch1Click");
    OpenHelpPage("keywords.html");
}

void TFrmMainVLR::HelpOnHelpClick() {
    Enter("HowToUseHelp1Click");
    OpenHelpPage("usinghelp.html");
}

void TFrmMainVLR::AboutClick() {
    Enter("About1Click");
    AboutBox box(this);
    box.exec();
}

void TFrmMainVLR::OpenVendorPage(const QString& page) {
    ShellOpen(std::string(VendorSite()) + page.toStdString());
}

void TFrmMainVLR::PreferencesClick() {
    Enter("Preferences1Click");
    if (libraries_.entry.DoPref)
        libraries_.entry.DoPref(appHandle_, handle_);
}

void TFrmMainVLR::ColorPickerClick() {
    Enter("ToolbarButton9729Click");
    if (!libraries_.entry.ColDlgInitEx)
        return;
    char buffer[102] = {};
    if (libraries_.entry.ColDlgInitEx(buffer, 101) == 0)
        return;
    Handle child = ActiveChildHandle();
    if (GetClassName(child) == "TFrmEditor") {
        RecordPtr r = MakeRecord(std::string(buffer, strnlen(buffer, 101)), "", "no");
        SendMessage(child, 2029, 0, reinterpret_cast<LParam>(r.release()));
    }
}

void TFrmMainVLR::PrinterSetupClick() {
    Enter("PrinterSetup1Click");
    // The printer and its settings chosen here are the ones printing starts from.
    QPrinter& printer = editorUnit_->Printer();
    if (PromptsAreLogged()) {
        std::cerr << "[printer setup] " << printer.printerName().toStdString() << std::endl;
        return;
    }
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Printer Setup");
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOptions(dialog.options() & ~QAbstractPrintDialog::PrintSelection & ~QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() == QDialog::Accepted)
        SetStatusText("Printer: " + (printer.printerName().isEmpty() ? QString("file") : printer.printerName()));
}

void TFrmMainVLR::PrintClick() {
    Enter("Print1Click");
    if (Handle h = ActiveChildHandle())
        SendMessage(h, 3068, 0, 0);
}

void TFrmMainVLR::OpenFromTheWebClick() {
    Enter("OpenFromtheWeb1Click");
    if (libraries_.entry.DlFromWeb)
        libraries_.entry.DlFromWeb(appHandle_, handle_);
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
