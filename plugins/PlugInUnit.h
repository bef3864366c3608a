// The plug-in unit of the main window: finds and loads the plug-in libraries
// once at start-up, gives each its command in "Pl&ugins" (when it asks for
// one) and its entry in "About &Plugins", calls their entry points when the
// user picks those, and enables the commands that need an editor window each
// time the menu opens. It owns the host the exported functions act through.
#pragma once

#include "app/units/FeatureUnit.h"
#include "plugins/PlugInHost.h"
#include "plugins/PlugInLibrary.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace vlr {

class ShellServices;

class TPlugInUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TPlugInUnit(ShellServices& shell);
    ~TPlugInUnit() override;

    // FeatureUnit
    const char* UnitName() const override { return "plug-in"; }
    void ConnectCommands() override;
    void LoadExtensions() override { LoadPlugIns(); }

    // Searches AppDir + "plugins/" and loads what it finds. A library that
    // is not a usable plug-in is skipped with a line on the splash window and
    // on the status line naming it and the reason.
    void LoadPlugIns();
    const std::vector<std::unique_ptr<TTestPlugIn>>& PlugInList() const { return plugIns_; }

    // The handlers of the menu items; `tag` is the plug-in's index.
    void PlugInClick(int tag);
    void AboutPlugInClick(int tag);
    bool CheckEdStat(const QAction* item);
    void Plugins1Click();
    // "&Download...": the manual's page on plug-ins, from the program's help folder.
    void Download1Click();

    // The index a plug-in menu item carries, -1 for other items.
    static int Tag(const QAction* item);

private:
    QMenu* Menu(const char* name) const;
    void AddMenuItem(QMenu* menu, const std::string& caption, int tag, bool command);
    void Skipped(const std::string& path, const std::string& reason);

    ShellServices& shell_;
    PlugInHost host_;
    std::vector<std::unique_ptr<TTestPlugIn>> plugIns_;
};

}  // namespace vlr
