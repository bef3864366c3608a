// The part of the main window's services that is plain state of the frame:
// its handles, its folder, the commands and their gate, the bound modules,
// the multi-document area and the status line, side panel and recent lists
// behind the units' interfaces. TFrmMainVLR fills these in as it builds
// itself and implements the rest of ShellServices.
#pragma once

#include "app/shell/RecentList.h"
#include "app/shell/SidePanel.h"
#include "app/shell/StatusLine.h"
#include "app/units/CommandGate.h"
#include "app/units/CoreLibraries.h"
#include "app/units/ShellServices.h"
#include "platform/System.h"

#include <memory>
#include <string>

namespace vlr {

class FrameServices : public ShellServices {
public:
    Handle MainHandle() const override { return handle_; }
    Handle ApplicationHandle() const override { return appHandle_; }
    const std::string& AppDir() const override { return appDir_; }
    std::string PreferencesPath() const override { return WritablePath("preferences.dat"); }
    bool LowerTags() const override { return lowerTags_; }
    MainCommands& Commands() override { return *commands_; }
    CommandGate& Gate() override { return *gate_; }
    StatusPanels& Status() override { return *status_; }
    FileListArea& Side() override { return *side_; }
    RecentItems& RecentProjects() override { return *recentProjects_; }
    RecentItems& RecentFiles() override { return *recentFiles_; }
    QMdiArea* MdiArea() override { return mdi_; }
    CoreLibraries& Libraries() override { return libraries_; }

    // The frame's own widgets behind the interfaces.
    StatusLine& statusLine() const { return *status_; }
    SidePanel& sidePanel() const { return *side_; }

protected:
    std::string appDir_;
    Handle handle_ = 0;
    Handle appHandle_ = 0;
    bool lowerTags_ = true;
    CoreLibraries libraries_;
    std::unique_ptr<MainCommands> commands_;
    std::unique_ptr<CommandGate> gate_;
    QMdiArea* mdi_ = nullptr;
    SidePanel* side_ = nullptr;
    StatusLine* status_ = nullptr;
    RecentList* recentProjects_ = nullptr;
    RecentList* recentFiles_ = nullptr;
};

}  // namespace vlr
