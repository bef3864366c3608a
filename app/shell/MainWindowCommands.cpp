// The main window's window-level, help, view and preference commands.
#include "app/commands/MainCommands.h"
#include "app/shell/AboutBox.h"
#include "app/shell/CommandGate.h"
#include "app/shell/MainWindow.h"
#include "app/shell/MenuAnimator.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrinter>
#include <QSplitter>
#include <QToolBar>

#include "app/shell/SidePanel.h"

namespace vlr {

const char* TFrmMainVLR::VendorSite() { return "https://www.ardenne-websites.example"; }

void TFrmMainVLR::connectCommands() {
    auto on = [this](const char* name, std::function<void()> handler) { onTriggered(name, std::move(handler)); };
    on("NewFile1", [this] { NewFileClick(); });
    on("Save1", [this] { SaveClick(); });
    on("Save2", [this] { SaveClick(); });
    on("SaveAs1", [this] { SaveAsClick(); });
    on("SaveAll1", [this] { SaveAllClick(); });
    on("Close1", [this] { CloseClick(); });
    on("CloseAll1", [this] { CloseAllClick(); });
    on("Exit1", [this] { ExitClick(); });
    on("Tile1", [this] { TileClick(); });
    on("Cascade1", [this] { CascadeClick(); });
    on("ArrangeAll1", [this] { ArrangeAllClick(); });
    on("Contents1", [this] { HelpContentsClick(); });
    on("HelpContents1", [this] { HelpContentsClick(); });
    on("KeywordSearch1", [this] { HelpKeywordClick(); });
    on("HowToUseHelp1", [this] { HelpOnHelpClick(); });
    on("About1", [this] { AboutClick(); });
    on("Velora1", [this] { OpenVendorPage(QString()); });
    on("Download1", [this] { OpenVendorPage(QString()); });
    on("MainPage1", [this] { OpenVendorPage(QString()); });
    on("Downloads1", [this] { OpenVendorPage("/products.html"); });
    on("Developers1", [this] { OpenVendorPage("/developers.html"); });
    on("Feedback1", [this] { OpenVendorPage("/feedback.html"); });
    on("Search2", [this] { OpenVendorPage("/search.html"); });
    on("Preferences1", [this] { PreferencesClick(); });
    on("Preferences2", [this] { PreferencesClick(); });
    on("ToolbarButton9729", [this] { ColorPickerClick(); });
    on("PrinterSetup1", [this] { PrinterSetupClick(); });
    auto print = [this] {
        enter("Print1Click");
        if (Handle h = ActiveChildHandle())
            SendMessage(h, 3068, 0, 0);
    };
    on("Print1", print);
    on("PrintDocument1", print);
    on("PrinterSetup2", [this] { PrinterSetupClick(); });
    on("OpenFromtheWeb1", [this] { OpenFromTheWebClick(); });
    on("FileList1", [this] { FileListClick(); });
    on("DoubleSpeed1", [this] { DoubleSpeedClick(); });
    on("MainToolbar1", [this] { ToggleToolbar("TlbMain"); });
    on("EditToolbar1", [this] { ToggleToolbar("TLBEditor"); });
    on("HTMLToolbar1", [this] { ToggleToolbar("TlbHTML"); });
    on("FormsToolbar1", [this] { ToggleToolbar("TLBForms"); });
    on("TextToolbar1", [this] { ToggleToolbar("TlbText"); });
    on("MainToolbar2", [this] { ToggleToolbar("TlbMain"); });
    on("EditToolbar2", [this] { ToggleToolbar("TLBEditor"); });
    on("HTMLToolbar2", [this] { ToggleToolbar("TlbHTML"); });
    on("FormsToolbar2", [this] { ToggleToolbar("TLBForms"); });
    on("TextToolbar2", [this] { ToggleToolbar("TlbText"); });
    const std::pair<const char*, MenuAnimation> kinds[] = {
        {"None1", MenuAnimation::None},   {"VerticalSlide1", MenuAnimation::VSlide},
        {"HorizontalSlide1", MenuAnimation::HSlide}, {"Smart1", MenuAnimation::Smart},
        {"Unfold1", MenuAnimation::Unfold}, {"popup1", MenuAnimation::Popup},
        {"Random1", MenuAnimation::Random},
    };
    for (const auto& [name, kind] : kinds)
        on(name, [this, k = kind] { SetMenuAnimation(k); });
    if (QMenu* view = commands_->menu("View1"))
        connect(view, &QMenu::aboutToShow, this, [this] { View1Click(); });
    if (QMenu* dock = commands_->menu("PopupMenu981")) {
        dockMenu_ = dock;
        connect(dock, &QMenu::aboutToShow, this, [this] {
            enter("PopupMenu981Popup");
            const std::pair<const char*, const char*> items[] = {
                {"MainToolbar2", "TlbMain"}, {"EditToolbar2", "TLBEditor"}, {"HTMLToolbar2", "TlbHTML"},
                {"FormsToolbar2", "TLBForms"}, {"TextToolbar2", "TlbText"}};
            for (const auto& [item, bar] : items)
                if (QAction* a = commands_->action(item))
                    if (QToolBar* t = commands_->toolbar(bar))
                        a->setChecked(t->isVisible());
        });
    }
    ConnectProjectCommands();
    ConnectEditorCommands();
    // Opening by type hands text documents to the editor windows, which start
    // in the open project's directories.
    openEditorFile = [this](const QString& path) { OpenEditorForFile(path.toStdString()); };
    projectDirectories = [this] { return std::make_pair(SourceDir(), OutputDir()); };
}

void TFrmMainVLR::onTriggered(const char* name, std::function<void()> handler) {
    if (QAction* a = commands_->action(name))
        connect(a, &QAction::triggered, this, std::move(handler));
}

void TFrmMainVLR::NewFileClick() {
    enter("ToolbarButton9717Click");
    if (!createNewEditor)
        return;
    setUpdatesEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProcessMessages();
    try {
        createNewEditor();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        setUpdatesEnabled(true);
        throw;
    }
    QApplication::restoreOverrideCursor();
    setUpdatesEnabled(true);
}

void TFrmMainVLR::SaveClick() {
    enter("Save1Click");
    if (Handle h = ActiveChildHandle())
        SendMessage(h, 2998, 0, 0);
}

void TFrmMainVLR::SaveAsClick() {
    enter("SaveAs1Click");
    if (Handle h = ActiveChildHandle())
        SendMessage(h, 2997, 0, 0);
}

void TFrmMainVLR::SaveAllClick() {
    enter("SaveAll1Click");
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        Handle h = w->widget() ? w->widget()->property("vlrHandle").value<Handle>() : 0;
        if (GetClassName(h) == "TFrmEditor")
            SendMessage(h, 2998, 0, 0);
    }
    if (projectFile_ != "none" && projectSaver)
        projectSaver();
}

void TFrmMainVLR::CloseClick() {
    enter("Close1Click");
    if (QMdiSubWindow* w = mdi_->activeSubWindow())
        w->close();
}

void TFrmMainVLR::CloseAllClick() {
    enter("CloseAll1Click");
    QList<QPointer<QMdiSubWindow>> children;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        children << w;
    // A window that stays open (its question was cancelled) stops the command there.
    for (const QPointer<QMdiSubWindow>& w : children)
        if (w && !w->close())
            return;
    // With every window closed the project goes too, asking first when it
    // holds unsaved changes.
    if (projectFile_ != kNoProjectFile)
        CloseProjectClick();
    PostMessage(handle_, MSG_CLOSED_ALL, 0, 0);
}

void TFrmMainVLR::ExitClick() {
    enter("Exit1Click");
    close();
}

void TFrmMainVLR::TileClick() {
    enter("Tile1Click");
    mdi_->tileSubWindows();
}

void TFrmMainVLR::CascadeClick() {
    enter("Cascade1Click");
    mdi_->cascadeSubWindows();
}

void TFrmMainVLR::ArrangeAllClick() {
    enter("ArrangeAll1Click");
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
    enter("Contents1Click");
    OpenHelpPage("index.html");
}

void TFrmMainVLR::HelpKeywordClick() {
    enter("KeywordSearch1Click");
    OpenHelpPage("keywords.html");
}

void TFrmMainVLR::HelpOnHelpClick() {
    enter("HowToUseHelp1Click");
    OpenHelpPage("usinghelp.html");
}

void TFrmMainVLR::AboutClick() {
    enter("About1Click");
    AboutBox box(this);
    box.exec();
}

void TFrmMainVLR::OpenVendorPage(const QString& page) {
    enter("MainPage1Click");
    ShellOpen(std::string(VendorSite()) + page.toStdString());
}

void TFrmMainVLR::PreferencesClick() {
    enter("Preferences1Click");
    if (libraries_.entry.DoPref)
        libraries_.entry.DoPref(appHandle_, handle_);
}

void TFrmMainVLR::ColorPickerClick() {
    enter("ToolbarButton9729Click");
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
    enter("PrinterSetup1Click");
    QPrinter printer;
    QPageSetupDialog dialog(&printer, this);
    dialog.exec();
}

void TFrmMainVLR::OpenFromTheWebClick() {
    enter("OpenFromtheWeb1Click");
    if (libraries_.entry.DlFromWeb)
        libraries_.entry.DlFromWeb(appHandle_, handle_);
}

void TFrmMainVLR::ToggleToolbar(const QString& objectName) {
    enter("MainToolbar1Click");
    if (QToolBar* t = commands_->toolbar(objectName))
        t->setVisible(!t->isVisible());
}

void TFrmMainVLR::FileListClick() {
    enter("FileList1Click");
    side_->setVisible(!side_->isVisible());
    splitter_->handle(1)->setVisible(!splitter_->handle(1)->isVisible());
}

void TFrmMainVLR::SetMenuAnimation(MenuAnimation kind) {
    enter("None1Click");
    menuAnimation_ = kind;
    ApplyMenuAnimation();
    Preferences(PreferencesPath()).WriteType(kind);
}

void TFrmMainVLR::DoubleSpeedClick() {
    enter("DoubleSpeed1Click");
    menuDoubleSpeed_ = !menuDoubleSpeed_;
    ApplyMenuAnimation();
    Preferences(PreferencesPath()).WriteMenuDoubleSpeed(menuDoubleSpeed_);
}

void TFrmMainVLR::ApplyMenuAnimation() {
    if (auto* animator = findChild<MenuAnimator*>())
        animator->setAnimation(menuAnimation_, menuDoubleSpeed_);
}

void TFrmMainVLR::View1Click() {
    enter("View1Click");
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
        a->setChecked(side_->isVisible());
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
