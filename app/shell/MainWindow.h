// TFrmMainVLR: the program's multi-document main window. It owns the menu bar,
// the five toolbars, the side panel, the status line, the bound outside modules
// and the three name/value lists, and answers the main-window messages.
#pragma once

#include "app/shell/CoreLibraries.h"
#include "app/shell/Preferences.h"
#include "appearance/UserSettings.h"
#include "project/model/ProjectModel.h"
#include "platform/Window.h"

#include <QMainWindow>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <utility>

class QMdiArea;
class QMdiSubWindow;
class QSplitter;
class QAction;
class QMenu;
class QToolBar;

namespace vlr {

class CommandGate;
class EditorHost;
class MainCommands;
class ProjectFileList;
class TFrmEditor;
class RecentList;
class SidePanel;
class StatusLine;
class TColorPicker;
class TFrmSplash;

// Main-window message numbers handled by the shell.
enum MainMessage : unsigned {
    WM_ERASEBKGND = 20,
    MSG_EDITOR_COMMANDS = 2321,
    MSG_SET_IMAGE = 2322,
    MSG_RELOAD_PREFERENCES = 3038,
    MSG_LOAD_SWATCHES = 3082,
    MSG_CLOSED_ALL = 3083,
    MSG_EDITOR_FONT = 3084,
};

class TFrmMainVLR : public QMainWindow, public MessageHandler {
    Q_OBJECT
public:
    // Runs FormCreate. When a start-up module is missing the fatal message has
    // been shown and fatal() is true: the caller ends the program.
    explicit TFrmMainVLR(TFrmSplash* splash = nullptr, QStringList arguments = {});
    ~TFrmMainVLR() override;

    bool fatal() const { return fatal_; }
    Handle handle() const { return handle_; }
    Handle applicationHandle() const { return appHandle_; }

    // Shell state.
    const std::string& AppDir() const { return appDir_; }
    const std::string& CurrentMethod() const { return currentMethod_; }
    bool FirstShow() const { return firstShow_; }
    bool LowerTags() const { return lowerTags_; }
    std::string PreferencesPath() const { return Preferences::PathIn(appDir_); }
    const std::string& ProjectFile() const { return projectFile_; }
    bool ProjectModified() const { return projectModified_; }
    void SetProjectState(const std::string& projectFile, bool modified);
    // Saves the open project; set by the project unit. Returns false on failure.
    std::function<bool()> projectSaver;
    const std::string& FileVersionText() const { return fileVersion_; }
    const std::string& FileNameText() const { return fileName_; }
    TUserSettingList& ProjectVariables() { return projectVariables_; }
    TUserSettingList& InternalVariables() { return internalVariables_; }
    TUserSettingList& Tools() { return tools_; }

    // Interfaces.
    void SetStatusText(const QString& text);
    void ShowHint(const QString& hint);
    void HandleExceptionEx(QObject* sender, std::exception_ptr error);
    void GetFileInformation();
    void UpdateEditorCommands(bool lastClosing);

    LResult handleMessage(unsigned msg, WParam wParam, LParam lParam) override;

    // Parts for other units of the program and for tests.
    MainCommands& commands() const { return *commands_; }
    CommandGate& gate() const { return *gate_; }
    // Set by the units that open documents: open a file by its type, and open
    // a new untitled editor window.
    std::function<void(const QString& path)> parseToOpen;
    std::function<void()> createNewEditor;
    // Messages answered by the other units of the main window.
    std::function<LResult(unsigned msg, LParam lParam)> extraMessages;
    int lastSpecialChar() const { return lastSpecialChar_; }
    const QString& bulletStyle() const { return bulletStyle_; }
    QAction* action(const QString& name) const;
    QMdiArea* mdiArea() const { return mdi_; }
    StatusLine* statusLine() const { return status_; }
    SidePanel* sidePanel() const { return side_; }
    TColorPicker* colorPicker() const { return colorPicker_; }
    RecentList& recentProjects() const { return *recentProjects_; }
    RecentList& recentFiles() const { return *recentFiles_; }
    CoreLibraries& libraries() { return libraries_; }
    MenuAnimation menuAnimation() const { return menuAnimation_; }
    bool menuDoubleSpeed() const { return menuDoubleSpeed_; }
    // Number of child windows of a window class.
    int ChildCount(const std::string& className) const;
    Handle ActiveChildHandle() const;
    std::string ActiveChildClass() const;

    // Test seam: called with the method name each time a main-window method
    // starts, so a test can make any method fail.
    using MethodProbe = std::function<void(const std::string& method)>;
    static void SetMethodProbe(MethodProbe probe);

    // Window-level commands.
    void NewFileClick();
    void SaveClick();
    void SaveAsClick();
    void SaveAllClick();
    void CloseClick();
    void CloseAllClick();
    void ExitClick();
    void TileClick();
    void CascadeClick();
    void ArrangeAllClick();
    void HelpContentsClick();
    void HelpKeywordClick();
    void HelpOnHelpClick();
    void AboutClick();
    void OpenVendorPage(const QString& page);
    void PreferencesClick();
    void ColorPickerClick();
    void PrinterSetupClick();
    void OpenFromTheWebClick();

    // Toolbar and panel visibility, menu animation.
    void ToggleToolbar(const QString& objectName);
    void FileListClick();
    void SetMenuAnimation(MenuAnimation kind);
    void DoubleSpeedClick();
    void View1Click();
    QMenu* createPopupMenu() override;

    // The vendor's web site, base of the web-site commands.
    static const char* VendorSite();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // ---- editor windows (MainWindowEditors*.cpp)
public:
    // Editor windows for an existing file, from a template file, and new from
    // the default template, handed the project's directories; nullptr when no
    // window was made.
    TFrmEditor* OpenEditorForFile(const std::string& path);
    TFrmEditor* OpenEditorFromTemplate(const std::string& path);
    TFrmEditor* OpenNewEditor();
    // The project's source and output directories for new editor windows; set
    // by the project unit (both empty while it is unset).
    std::function<std::pair<std::string, std::string>()> projectDirectories;
    EditorHost& editorHost() const { return *editorHost_; }
    // Passes an error of an editor-window method to the exception report under that method's name.
    void ReportEditorException(QObject* sender, std::exception_ptr error, const std::string& method);
    // SendStrings: markup in the tag case of LowerTags, sent to the active editor window only.
    void SendStrings(const std::string& start, const std::string& end, const std::string& flag);

private:
    // Answers the messages that editor windows send; false when `msg` is not one of them.
    bool HandleEditorMessage(unsigned msg, WParam wParam, LParam lParam, LResult& result);
    // Wires the editor commands (File, Edit, Search) and the new-editor hook.
    void ConnectEditorCommands();
    // Sends a command to the active child window, with a record holding `first` when given.
    void ForwardToEditor(unsigned msg, const std::string* first = nullptr);
    std::shared_ptr<EditorHost> editorHost_;  // shared: its type is complete only in the editor unit

    // ---- projects (MainWindowProject*.cpp, OpenByType.cpp)
    // Answers the project and outside-component messages; false when `msg` is not one of them.
    bool HandleProjectMessage(unsigned msg, WParam wParam, LParam lParam, LResult& result);

public:
    // The open project ("none" as ProjectFile when there is none). The project
    // variables are ProjectVariables(); project().ProjectVars is not used.
    const ProjectState& project() const { return project_; }
    const std::string& SourceDir() const { return project_.SourceDir; }
    const std::string& OutputDir() const { return project_.OutputDir; }
    const std::string& SearchDir() const { return project_.SearchDir; }
    const std::string& ImageDir() const { return project_.ImageDir; }
    const std::string& ImgPrefix() const { return project_.ImgPrefix; }
    const std::vector<std::string>& AllFiles() const { return project_.AllFiles; }
    ProjectFileList& projectFileList() const { return *fileList_; }

    // Opens a file in a new editor window, handing it the project's source and
    // output directories (SourceDir(), OutputDir()). Connected to the editor
    // windows' unit by the program; ParseToOpen calls it for text documents.
    std::function<void(const QString& path)> openEditorFile;

    // Project operations.
    int CreateProject();
    void DoOpen(const std::string& path);
    void BuildProjectOptions();
    // False (after telling the user) when the file could not be written; the
    // project then stays modified.
    bool SaveProjectFile();
    void SaveAsProjectFile();
    void CloseProj();
    void CloseProjy(const std::string& path);
    void SaveProj();
    void SaveProjz();
    void CloseProjZ();
    void SaveProjy(const std::string& path);
    std::string GetProj() const { return projectFile_; }
    // Adds one source file without the extension test (the exported
    // AddToProject); false when it is already in the project.
    bool AddToProject(const std::string& path);

    // Project commands.
    void NewProjectClick();
    void OpenProjectPath(const std::string& path);
    void SaveProjectClick();
    void SaveProjectAsClick();
    void CloseProjectClick();
    void AddFileClick();
    void AddFiles(const std::vector<std::string>& paths);
    void RemoveFileClick();
    void OrganizeVariablesClick();
    void ProjectOptionsClick();
    void CompileClick();
    // Menu state when the File and Project menus open.
    void File1Click();
    void Project1Click();

    // Internal variables, the Variables drop-down and Insert Variable.
    void InternalVars();
    std::string VariableValueOf(const std::string& name);
    void VariablesDropDown();
    void InsertVariableClick();

    // Opening files by type and the file list.
    void ParseToOpen(const std::string& path);
    void OpenClick();
    void SetThePic(const std::string& kind);
    void SetImageEx(const std::string& kind);
    void UpdateList();
    void FilesDroppedOnList(const QStringList& paths);
    void FilesDroppedOnDock(const QStringList& paths);
    int BuildSingle(const std::string& path, bool flag);
    void SendHintBack(const std::string& text);

private:
    void ConnectProjectCommands();
    void SetProjectCommands(bool open);
    void SetSaveProjectEnabled(bool enabled);
    void SetProjectCaption(const QString& caption);
    void ClearProjectData();
    void ConnectDockDrops();
    std::string LookupPath(const std::string& name) const;
    LResult ProjectMessage(unsigned msg, LParam lParam);

    ProjectState project_;
    ProjectFileList* fileList_ = nullptr;
    QObject* dockDrops_ = nullptr;

    // ---- main window
    // Runs `handler` when the named command is triggered (nothing when the
    // command does not exist).
    void onTriggered(const char* name, std::function<void()> handler);
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void enter(const char* method);
    void buildWindow();
    void connectCommands();
    void RestoreLayout();
    void SaveLayout();
    void ApplyMenuAnimation();
    void OpenHelpPage(const QString& page);
    void ReloadPreferences();

    TFrmSplash* splash_;
    QStringList arguments_;
    std::string appDir_;
    std::string currentMethod_;
    bool firstShow_ = false;
    bool fatal_ = false;
    bool lowerTags_ = true;
    bool shownBefore_ = false;
    int lastSpecialChar_ = 60;
    QString bulletStyle_ = "regular";
    std::string projectFile_ = "none";
    bool projectModified_ = false;
    std::string fileVersion_;
    std::string fileName_;
    Handle handle_ = 0;
    Handle appHandle_ = 0;
    std::unique_ptr<MessageHandler> appWindow_;
    MenuAnimation menuAnimation_ = MenuAnimation::None;
    bool menuDoubleSpeed_ = true;
    TUserSettingList projectVariables_;
    TUserSettingList internalVariables_;
    TUserSettingList tools_;
    CoreLibraries libraries_;
    std::unique_ptr<MainCommands> commands_;
    std::unique_ptr<CommandGate> gate_;
    QMdiArea* mdi_ = nullptr;
    QSplitter* splitter_ = nullptr;
    SidePanel* side_ = nullptr;
    TColorPicker* colorPicker_ = nullptr;
    StatusLine* status_ = nullptr;
    RecentList* recentProjects_ = nullptr;
    RecentList* recentFiles_ = nullptr;
    QMenu* dockMenu_ = nullptr;
};

}  // namespace vlr
