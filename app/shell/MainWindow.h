// TFrmMainVLR: the program's multi-document main window, as a frame. It owns
// the window, the multi-document area, the menus and toolbars built from the
// command tables, the status line, the side panel, preferences and layout,
// the exception report and the message dispatcher. Everything else is done
// by its feature units, which reach the frame through ShellServices.
#pragma once

#include "app/shell/FrameMessages.h"
#include "app/shell/FrameServices.h"
#include "app/shell/VeloraApplication.h"
#include "app/units/MessageDispatcher.h"
#include "app/units/Preferences.h"
#include "appearance/UserSettings.h"
#include "platform/Window.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSplitter;

namespace vlr {

class TColorPicker;
class TEditorUnit;
class TFrmSplash;
class TProjectUnit;
class TWindowUnit;

class TFrmMainVLR : public QMainWindow, public MessageHandler, public FrameServices, public ExceptionSink {
    Q_OBJECT
public:
    // Runs FormCreate. When a start-up module is missing the fatal message has
    // been shown and fatal() is true: the caller ends the program.
    explicit TFrmMainVLR(TFrmSplash* splash = nullptr, QStringList arguments = {});
    ~TFrmMainVLR() override;

    bool fatal() const { return fatal_; }
    Handle handle() const { return handle_; }
    const std::string& CurrentMethod() const { return currentMethod_; }
    bool FirstShow() const { return firstShow_; }
    const std::string& FileVersionText() const { return fileVersion_; }
    const std::string& FileNameText() const { return fileName_; }
    TUserSettingList& Tools() { return tools_; }
    int lastSpecialChar() const { return lastSpecialChar_; }
    const QString& bulletStyle() const { return bulletStyle_; }
    MenuAnimation menuAnimation() const { return menuAnimation_; }
    bool menuDoubleSpeed() const { return menuDoubleSpeed_; }
    TColorPicker* colorPicker() const { return colorPicker_; }
    QAction* action(const QString& name) const;
    void ShowHint(const QString& hint);
    void HandleExceptionEx(QObject* sender, std::exception_ptr error) override;
    void GetFileInformation();

    // The units.
    TProjectUnit& projectUnit() const { return *projectUnit_; }
    TEditorUnit& editorUnit() const { return *editorUnit_; }
    TWindowUnit& windowUnit() const { return *windowUnit_; }
    const MessageDispatcher& dispatcher() const { return dispatcher_; }

    // ShellServices, beyond the frame's state in FrameServices.
    QMainWindow* MainWidget() override { return this; }
    void SetStatusText(const QString& text) override;
    void SplashStatus(const QString& text) override;
    Handle ActiveChildHandle() const override;
    std::string ActiveChildClass() const override;
    int ChildCount(const std::string& className) const override;
    void UpdateEditorCommands(bool lastClosing) override;
    void Enter(const char* method) override;
    void ReportException(QObject* sender, std::exception_ptr error) override { HandleExceptionEx(sender, error); }
    void ReportExceptionAs(QObject* sender, std::exception_ptr error, const std::string& method) override;
    ProjectAccess& Project() override;
    EditorWindows& Editors() override;

    // Messages: the frame's own, then the unit that claimed the number; every
    // handler runs inside the guard that reports to the exception report.
    LResult handleMessage(unsigned msg, WParam wParam, LParam lParam) override;

    // Test seams: a probe called with each main-window method as it starts (a
    // test can make any method fail), and stand-ins for the editor windows and the project.
    using MethodProbe = std::function<void(const std::string& method)>;
    static void SetMethodProbe(MethodProbe probe);
    void SetEditorWindowsForTest(EditorWindows* editors) { editorsForTest_ = editors; }
    void SetProjectAccessForTest(ProjectAccess* project) { projectForTest_ = project; }

    // View commands.
    void ToggleToolbar(const QString& objectName);
    void FileListClick();
    // F6: the focus between the active document and the side panel; the splitter by keyboard.
    void SwitchPaneClick();
    void ResizeSidePanel(int delta);
    static constexpr int kPanelStep = 40;
    void SetMenuAnimation(MenuAnimation kind);
    void DoubleSpeedClick();
    void View1Click();
    QMenu* createPopupMenu() override;
    // The side panel and its splitter handle, shown or hidden together.
    void SetSidePanelVisible(bool visible);
    bool SidePanelVisible() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateUnits();
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void buildWindow();
    void connectCommands();
    void RestoreLayout();
    void SaveLayout();
    void ApplyMenuAnimation();
    void ReadNewPref();
    LResult FrameMessage(unsigned msg, LParam lParam, bool& handled);

    TFrmSplash* splash_;
    QStringList arguments_;
    std::string currentMethod_;
    bool firstShow_ = false;
    bool fatal_ = false;
    bool shownBefore_ = false;
    int lastSpecialChar_ = 60;
    QString bulletStyle_ = "regular";
    std::string fileVersion_;
    std::string fileName_;
    std::unique_ptr<MessageHandler> appWindow_;
    MenuAnimation menuAnimation_ = MenuAnimation::None;
    bool menuDoubleSpeed_ = true;
    TUserSettingList tools_;
    QSplitter* splitter_ = nullptr;
    TColorPicker* colorPicker_ = nullptr;
    QMenu* dockMenu_ = nullptr;
    // The units, in building order; the typed pointers point into it.
    std::vector<std::unique_ptr<FeatureUnit>> units_;
    TProjectUnit* projectUnit_ = nullptr;
    TEditorUnit* editorUnit_ = nullptr;
    TWindowUnit* windowUnit_ = nullptr;
    EditorWindows* editorsForTest_ = nullptr;
    ProjectAccess* projectForTest_ = nullptr;
    MessageDispatcher dispatcher_;
};

}  // namespace vlr
