// The Tools unit of the main window: the Tools menu, rebuilt from "tools.dat"
// each time it opens (the upload wizard, the user's tools, "&Customize..."),
// starting a tool (a program, a document or an address), the customisation dialog of the
// system module, and the three upload commands.
#pragma once

#include "app/units/FeatureUnit.h"
#include "appearance/ToolStart.h"
#include "appearance/UserSettings.h"

#include <QObject>

#include <vector>

class QAction;
class QMenu;

namespace vlr {

class ShellServices;

class TToolsUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TToolsUnit(ShellServices& shell);
    ~TToolsUnit() override;

    const char* UnitName() const override { return "tools"; }
    void ConnectCommands() override;

    // Reloads the tools when "tools.dat" exists and rebuilds the menu. A file
    // that cannot be read raises, and the menu stays as it was.
    void Tools1Click();
    // Starts the first tool whose name is the caption of the clicked item.
    void NewToolsClick(QAction* sender);
    // The customisation dialog of the system module.
    void Add3Click();
    // Any of the three upload commands.
    void UploadClick();

    const TUserSettingList& Tools() const { return tools_; }

private:
    QMenu* menu() const;

    ShellServices& shell_;
    TUserSettingList tools_;
    std::vector<QAction*> toolItems_;
};


}  // namespace vlr
