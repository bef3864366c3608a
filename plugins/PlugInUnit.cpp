#include "plugins/PlugInUnit.h"

#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "platform/System.h"
#include "platform/Window.h"
#include "plugins/PlugInSearch.h"
#include "plugins/PlugInText.h"

#include <QAction>
#include <QMenu>

#include <dlfcn.h>

static void InitPlugInResources() { Q_INIT_RESOURCE(plugins); }

namespace vlr {
namespace {

constexpr const char* kTagProperty = "plugInTag";
constexpr const char* kCommandProperty = "plugInCommand";


}  // namespace

TPlugInUnit::TPlugInUnit(ShellServices& shell) : shell_(shell), host_(shell) { InitPlugInResources(); }

// The libraries stay loaded until the process ends: code of theirs may still
// be referenced (handlers, threads), and unloading is not offered.
TPlugInUnit::~TPlugInUnit() = default;

void TPlugInUnit::ConnectCommands() {
    shell_.Gate().makeAvailable(CommandGroup::Plugins);
    ConnectCommand(shell_, this, "Download1", "Download1Click", [this] { Download1Click(); });
    if (QMenu* menu = Menu("Plugins1"))
        connect(menu, &QMenu::aboutToShow, this,
                [this] { RunGuarded(shell_, this, "Plugins1Click", [this] { Plugins1Click(); }); });
}

QMenu* TPlugInUnit::Menu(const char* name) const { return shell_.Commands().menu(name); }

int TPlugInUnit::Tag(const QAction* item) {
    if (item == nullptr)
        return -1;
    bool ok = false;
    const int tag = item->property(kTagProperty).toInt(&ok);
    return ok ? tag : -1;
}

void TPlugInUnit::Skipped(const std::string& path, const std::string& reason) {
    const QString text = "Plug-in " + QString::fromStdString(path) + " skipped: " + PlugInString(reason);
    shell_.SplashStatus(text);
    shell_.SetStatusText(text);
    ProcessMessages();
}

void TPlugInUnit::LoadPlugIns() {
    shell_.Enter("LoadPlugIns");
    // The user's own plug-ins first (an installed program), then the program's.
    const std::vector<std::string> paths = SearchPlugInFolders(PluginDirs(), ".vlp", [this](const std::string& name) {
        shell_.SplashStatus("Scanning for pluggins: " + QString::fromStdString(name));
        ProcessMessages();
    });
    // Plug-ins look the host functions up in the program's own module.
    void* host = ::dlopen(nullptr, RTLD_NOW);
    for (const std::string& path : paths) {
        shell_.Enter("LoadPlugIns");
        shell_.SplashStatus("Loading Pluggins: " + QString::fromStdString(path));
        ProcessMessages();
        std::unique_ptr<TTestPlugIn> plugIn;
        try {
            plugIn = LoadPlugInLibrary(path, host);
        } catch (const PlugInRejected& e) {
            Skipped(path, e.what());
            continue;
        }
        const int tag = static_cast<int>(plugIns_.size());
        plugIns_.push_back(std::move(plugIn));
        const TTestPlugIn& p = *plugIns_.back();
        bool wantsCommand = false;
        try {
            wantsCommand = PlugInTrue(p.NeedsMenuItemProc());
        } catch (...) {
            // The plug-in still gets its about entry.
            shell_.ReportException(this, std::current_exception());
        }
        if (wantsCommand)
            AddMenuItem(Menu("Plugins1"), p.PlugInName, tag, true);
        AddMenuItem(Menu("AboutPlugins1"), p.PlugInName, tag, false);
    }
}

void TPlugInUnit::AddMenuItem(QMenu* menu, const std::string& caption, int tag, bool command) {
    if (menu == nullptr)
        return;
    // The name as the plug-in gives it: an "&" in it is shown.
    QAction* item = menu->addAction(PlugInCaption(caption));
    item->setObjectName(QString(command ? "PlugIn%1" : "AboutPlugIn%1").arg(tag));
    item->setProperty(kTagProperty, tag);
    item->setProperty(kCommandProperty, command);
    const char* method = command ? "PlugInClick" : "AboutPlugInClick";
    connect(item, &QAction::triggered, this, [this, item, method] {
        RunGuarded(shell_, item, method, [&] {
            if (item->property(kCommandProperty).toBool())
                PlugInClick(Tag(item));
            else
                AboutPlugInClick(Tag(item));
        });
    });
    menu->menuAction()->setVisible(true);
}

void TPlugInUnit::Download1Click() {
    shell_.Enter("Download1Click");
    // The manual's page on plug-ins says where more come from and how to
    // install them; it ships with the program, so it opens without a network.
    ShellOpen(shell_.AppDir() + "help/plugins.html");
}

void TPlugInUnit::PlugInClick(int tag) {
    shell_.Enter("PlugInClick");
    if (tag >= 0 && tag < static_cast<int>(plugIns_.size()))
        plugIns_[tag]->ExecProc();
}

void TPlugInUnit::AboutPlugInClick(int tag) {
    shell_.Enter("AboutPlugInClick");
    if (tag >= 0 && tag < static_cast<int>(plugIns_.size()))
        plugIns_[tag]->ShowAboutProc();
}

bool TPlugInUnit::CheckEdStat(const QAction* item) {
    shell_.Enter("CheckEdStat");
    const int tag = Tag(item);
    if (tag < 0 || tag >= static_cast<int>(plugIns_.size()))
        return false;
    return PlugInTrue(plugIns_[tag]->NeedsEditorProc());
}

void TPlugInUnit::Plugins1Click() {
    shell_.Enter("Plugins1Click");
    QMenu* menu = Menu("Plugins1");
    if (menu == nullptr)
        return;
    // Open when any child window, active or not, is an editor window.
    const bool editorOpen = shell_.ChildCount("TFrmEditor") > 0;
    for (QAction* item : menu->actions()) {
        if (Tag(item) < 0 || !item->property(kCommandProperty).toBool())
            continue;
        bool needsEditor = false;
        try {
            needsEditor = CheckEdStat(item);
        } catch (...) {
            shell_.ReportException(item, std::current_exception());
        }
        item->setEnabled(!needsEditor || editorOpen);
    }
}

}  // namespace vlr
