#include "app/window/WindowUnit.h"

#include "app/units/CoreLibraries.h"
#include "app/units/EditorWindows.h"
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "app/window/AboutBox.h"
#include "platform/Record.h"
#include "platform/System.h"
#include "platform/Window.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <cstring>
#include <utility>

namespace vlr {

namespace {
// The editor window's messages the window commands send.
constexpr unsigned kSaveMessage = 2998;
constexpr unsigned kSaveAsMessage = 2997;
constexpr unsigned kInsertColourMessage = 2029;
constexpr unsigned kPrintMessage = 3068;
}  // namespace

const char* TWindowUnit::VendorSite() { return "https://www.ardenne-websites.example"; }

TWindowUnit::TWindowUnit(ShellServices& shell) : shell_(shell) {}

void TWindowUnit::ConnectCommands() {
    auto on = [this](const char* name, std::string method, std::function<void()> handler) {
        ConnectCommand(shell_, this, name, std::move(method), std::move(handler));
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
    on("NextWindow1", "NextWindow1Click", [this] { shell_.MdiArea()->activateNextSubWindow(); });
    on("PreviousWindow1", "PreviousWindow1Click", [this] { shell_.MdiArea()->activatePreviousSubWindow(); });
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
}

void TWindowUnit::NewFileClick() {
    shell_.Enter("ToolbarButton9717Click");
    QMainWindow* frame = shell_.MainWidget();
    frame->setUpdatesEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProcessMessages();
    try {
        shell_.Editors().OpenNewEditor();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        frame->setUpdatesEnabled(true);
        throw;
    }
    QApplication::restoreOverrideCursor();
    frame->setUpdatesEnabled(true);
}

void TWindowUnit::SaveClick() {
    shell_.Enter("Save1Click");
    if (Handle h = shell_.ActiveChildHandle())
        SendMessage(h, kSaveMessage, 0, 0);
}

void TWindowUnit::SaveAsClick() {
    shell_.Enter("SaveAs1Click");
    if (Handle h = shell_.ActiveChildHandle())
        SendMessage(h, kSaveAsMessage, 0, 0);
}

void TWindowUnit::SaveAllClick() {
    shell_.Enter("SaveAll1Click");
    for (QMdiSubWindow* w : shell_.MdiArea()->subWindowList()) {
        Handle h = w->widget() ? w->widget()->property("vlrHandle").value<Handle>() : 0;
        if (GetClassName(h) == "TFrmEditor")
            SendMessage(h, kSaveMessage, 0, 0);
    }
    if (shell_.Project().ProjectFile() != "none")
        shell_.Project().SaveProjectFile();
}

void TWindowUnit::CloseClick() {
    shell_.Enter("Close1Click");
    if (QMdiSubWindow* w = shell_.MdiArea()->activeSubWindow())
        w->close();
}

void TWindowUnit::CloseAllClick() {
    shell_.Enter("CloseAll1Click");
    QList<QPointer<QMdiSubWindow>> children;
    for (QMdiSubWindow* w : shell_.MdiArea()->subWindowList())
        children << w;
    // A window that stays open (its question was cancelled) stops the command there.
    for (const QPointer<QMdiSubWindow>& w : children)
        if (w && !w->close())
            return;
    // With every window closed the project goes too, asking first when it
    // holds unsaved changes.
    if (shell_.Project().ProjectFile() != kNoProjectFile)
        shell_.Project().CloseProject();
    PostMessage(shell_.MainHandle(), kClosedAllMessage, 0, 0);
}

void TWindowUnit::ExitClick() {
    shell_.Enter("Exit1Click");
    shell_.MainWidget()->close();
}

void TWindowUnit::TileClick() {
    shell_.Enter("Tile1Click");
    shell_.MdiArea()->tileSubWindows();
}

void TWindowUnit::CascadeClick() {
    shell_.Enter("Cascade1Click");
    shell_.MdiArea()->cascadeSubWindows();
}

void TWindowUnit::ArrangeAllClick() {
    shell_.Enter("ArrangeAll1Click");
    QMdiArea* mdi = shell_.MdiArea();
    // Minimised children line up along the bottom; the others are tiled.
    QList<QMdiSubWindow*> minimised;
    for (QMdiSubWindow* w : mdi->subWindowList())
        if (w->isMinimized())
            minimised << w;
    int x = 0;
    for (QMdiSubWindow* w : minimised) {
        QSize s = w->size();
        w->move(x, mdi->viewport()->height() - s.height());
        x += s.width();
    }
    if (minimised.size() < mdi->subWindowList().size())
        mdi->tileSubWindows();
}

void TWindowUnit::OpenHelpPage(const QString& page) {
    ShellOpen(shell_.AppDir() + "help/" + page.toStdString());
}

void TWindowUnit::HelpContentsClick() {
    shell_.Enter("Contents1Click");
    OpenHelpPage("index.html");
}

void TWindowUnit::HelpKeywordClick() {
    shell_.Enter("KeywordSearch1Click");
    OpenHelpPage("keywords.html");
}

void TWindowUnit::HelpOnHelpClick() {
    shell_.Enter("HowToUseHelp1Click");
    OpenHelpPage("usinghelp.html");
}

void TWindowUnit::AboutClick() {
    shell_.Enter("About1Click");
    AboutBox box(shell_.MainWidget());
    box.exec();
}

void TWindowUnit::OpenVendorPage(const QString& page) {
    ShellOpen(std::string(VendorSite()) + page.toStdString());
}

void TWindowUnit::PreferencesClick() {
    shell_.Enter("Preferences1Click");
    const CoreEntryPoints& entry = shell_.Libraries().entry;
    if (entry.DoPref)
        entry.DoPref(shell_.ApplicationHandle(), shell_.MainHandle());
}

void TWindowUnit::ColorPickerClick() {
    shell_.Enter("ToolbarButton9729Click");
    const CoreEntryPoints& entry = shell_.Libraries().entry;
    if (!entry.ColDlgInitEx)
        return;
    char buffer[102] = {};
    if (entry.ColDlgInitEx(buffer, 101) == 0)
        return;
    Handle child = shell_.ActiveChildHandle();
    if (GetClassName(child) == "TFrmEditor") {
        RecordPtr r = MakeRecord(std::string(buffer, strnlen(buffer, 101)), "", "no");
        SendMessage(child, kInsertColourMessage, 0, reinterpret_cast<LParam>(r.release()));
    }
}

void TWindowUnit::PrinterSetupClick() {
    shell_.Enter("PrinterSetup1Click");
    shell_.Editors().ChoosePrinter();
}

void TWindowUnit::PrintClick() {
    shell_.Enter("Print1Click");
    if (Handle h = shell_.ActiveChildHandle())
        SendMessage(h, kPrintMessage, 0, 0);
}

void TWindowUnit::OpenFromTheWebClick() {
    shell_.Enter("OpenFromtheWeb1Click");
    const CoreEntryPoints& entry = shell_.Libraries().entry;
    if (entry.DlFromWeb)
        entry.DlFromWeb(shell_.ApplicationHandle(), shell_.MainHandle());
}

}  // namespace vlr
