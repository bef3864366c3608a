// The build unit of the main window: "&Build All" (Project menu, toolbar,
// Ctrl+F9 and the side panel's button) and "&Preview..." (Project menu, the
// file list's context menu and side panel button). It makes the Build command
// group available. The build itself runs in the core module, which reports
// its progress and result through messages the project unit shows.
#pragma once

#include "app/units/FeatureUnit.h"

#include <QObject>

#include <string>

namespace vlr {

class ShellServices;

class TBuildUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TBuildUnit(ShellServices& shell);

    const char* UnitName() const override { return "build"; }
    void ConnectCommands() override;

    // Builds the whole project with the busy cursor shown; a project with
    // unsaved changes is saved first, as the build reads the project file.
    void BuildAllClick();
    // Builds the file selected in the file list (saving a changed project
    // first), then opens its page with the desktop's default handler.
    void PreviewClick();

private:
    ShellServices& shell_;
};

}  // namespace vlr
