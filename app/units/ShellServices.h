// What the main window offers its feature units: the frame's parts (commands,
// status line, side panel, recent lists, the multi-document area), the active
// child window, the bound outside modules, and method names with the exception
// report. A unit reaches the rest of the program only through this interface
// and the interfaces of the other units it hands out.
#pragma once

#include "platform/Window.h"

#include <QString>

#include <exception>
#include <string>

class QMainWindow;
class QMdiArea;
class QObject;

namespace vlr {

class CommandGate;
class CoreLibraries;
class EditorWindows;
class FileListArea;
class MainCommands;
class ProjectAccess;
class RecentItems;
class StatusPanels;

class ShellServices {
public:
    virtual ~ShellServices() = default;

    // The frame: parent of dialogs, its window handle for messages, the
    // hidden application handle handed to the outside modules.
    virtual QMainWindow* MainWidget() = 0;
    virtual Handle MainHandle() const = 0;
    virtual Handle ApplicationHandle() const = 0;
    virtual const std::string& AppDir() const = 0;
    virtual std::string PreferencesPath() const = 0;
    // The tag-case preference: markup is inserted in lower case when true.
    virtual bool LowerTags() const = 0;

    // The command set built from the command tables, and its enabling rules.
    virtual MainCommands& Commands() = 0;
    virtual CommandGate& Gate() = 0;

    // Frame parts.
    virtual StatusPanels& Status() = 0;
    virtual void SetStatusText(const QString& text) = 0;
    // Writes the text into the splash window's status line while it shows;
    // nothing once it has gone.
    virtual void SplashStatus(const QString& text) { (void)text; }
    virtual FileListArea& Side() = 0;
    virtual RecentItems& RecentProjects() = 0;
    virtual RecentItems& RecentFiles() = 0;
    virtual QMdiArea* MdiArea() = 0;

    // Child windows. The active child is the multi-document area's current
    // child, whether or not the main window has the focus; 0 when there is none.
    virtual Handle ActiveChildHandle() const = 0;
    virtual std::string ActiveChildClass() const = 0;
    virtual int ChildCount(const std::string& className) const = 0;
    // Enables the commands that need an editor window (none is left when
    // `lastClosing` and fewer than two are open).
    virtual void UpdateEditorCommands(bool lastClosing) = 0;

    // Stores "TFrmMainVLR." + method as the current method name, the name the
    // exception report shows.
    virtual void Enter(const char* method) = 0;
    // Hands an error to the outside exception report under the current method name.
    virtual void ReportException(QObject* sender, std::exception_ptr error) = 0;
    // The same under a method name of another window ("TFrmEditor.SaveIt").
    virtual void ReportExceptionAs(QObject* sender, std::exception_ptr error, const std::string& method) = 0;
    // The outside modules bound at start-up and their entry points.
    virtual CoreLibraries& Libraries() = 0;

    // The other units, through their narrow interfaces.
    virtual ProjectAccess& Project() = 0;
    virtual EditorWindows& Editors() = 0;
};

}  // namespace vlr
