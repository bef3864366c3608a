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

    // Builds the whole project with the busy cursor shown.
    void BuildAllClick();
    // Builds the file selected in the file list, then opens its page with the
    // desktop's default handler.
    void PreviewClick();

    // Where the page of a file-list row is: OutputDir, its output sub-folder
    // (when not empty) and its file name with the extension ".html".
    static std::string BuiltPagePath(const std::string& outputDir, const std::string& subFolder,
                                     const std::string& fileName);

private:
    ShellServices& shell_;
};

}  // namespace vlr
