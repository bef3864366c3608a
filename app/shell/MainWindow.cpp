#include "app/shell/MainWindow.h"

#include "app/commands/KeySchemeCommands.h"
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "appearance/palette/ColorPicker.h"
#include "platform/Record.h"
#include "app/shell/MenuAnimator.h"
#include "app/shell/RecentList.h"
#include "app/shell/SidePanel.h"
#include "app/shell/Splash.h"
#include "app/shell/StatusLine.h"
#include "app/shell/VeloraApplication.h"
#include "app/units/EditorWindows.h"
#include "app/units/FeatureUnit.h"
#include "app/units/ProjectAccess.h"
#include "app/units/UnitCommands.h"
#include "editor/unit/EditorUnit.h"
#include "project/unit/ProjectUnit.h"
#include "platform/Prompter.h"
#include "platform/System.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include <cxxabi.h>
#include <iostream>
#include <typeinfo>

// The shell's pictures live in a static library, whose resources must be
// registered by hand.
static void initShellResources() { Q_INIT_RESOURCE(shell); }

namespace vlr {
namespace {

TFrmMainVLR::MethodProbe& methodProbe() {
    static TFrmMainVLR::MethodProbe probe;
    return probe;
}

// The hidden application window: the handle handed to the outside modules as
// the application handle.
class ApplicationWindow : public MessageHandler {
public:
    LResult handleMessage(unsigned, WParam, LParam) override { return 0; }
};

std::string demangledName(const std::type_info& type) {
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string out = status == 0 && name ? name : type.name();
    std::free(name);
    if (auto colon = out.rfind("::"); colon != std::string::npos)
        out = out.substr(colon + 2);
    return out;
}

}  // namespace

void TFrmMainVLR::SetMethodProbe(MethodProbe probe) { methodProbe() = std::move(probe); }

void TFrmMainVLR::Enter(const char* method) {
    currentMethod_ = std::string("TFrmMainVLR.") + method;
    if (methodProbe())
        methodProbe()(method);
}

void TFrmMainVLR::ReportExceptionAs(QObject* sender, std::exception_ptr error, const std::string& method) {
    currentMethod_ = method;
    HandleExceptionEx(sender, error);
}

TFrmMainVLR::TFrmMainVLR(TFrmSplash* splash, QStringList arguments)
    : splash_(splash), arguments_(std::move(arguments)) {
    appDir_ = vlr::AppDir();
    setObjectName("FrmMainVLR");
    initShellResources();
    appWindow_ = std::make_unique<ApplicationWindow>();
    appHandle_ = RegisterWindow(appWindow_.get(), "TApplication");
    handle_ = RegisterWindow(this, "TFrmMainVLR", this);
    buildWindow();
    CreateUnits();
    connectCommands();
    FormCreate();
}

TFrmMainVLR::~TFrmMainVLR() {
    // The units go first, while the frame's parts they use still exist.
    while (!units_.empty())
        units_.pop_back();
    projectUnit_ = nullptr;
    editorUnit_ = nullptr;
    // The children outlive this part of the window: no signal of theirs may
    // reach it while they are torn down.
    mdi_->disconnect(this);
    colorPicker_->disconnect(this);
    if (auto* app = qobject_cast<VeloraApplication*>(QCoreApplication::instance()))
        app->setExceptionSink(nullptr);
    SetUnhandledExceptionHook(nullptr);
    UnregisterWindow(handle_);
    UnregisterWindow(appHandle_);
}

void TFrmMainVLR::buildWindow() {
    setWindowTitle("Velora");
    setWindowIcon(QIcon(":/shell/velora.svg"));
    resize(1024, 720);
    setDockOptions(QMainWindow::AnimatedDocks);
    commands_ = std::make_unique<MainCommands>(this);
    gate_ = std::make_unique<CommandGate>(*commands_);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("RxSplitter1");
    splitter_->setChildrenCollapsible(false);
    mdi_ = new QMdiArea(splitter_);
    mdi_->setObjectName("MDIClient");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setBackground(palette().brush(QPalette::Dark));
    side_ = new SidePanel(splitter_);
    splitter_->addWidget(mdi_);
    splitter_->addWidget(side_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    splitter_->setSizes({800, 200});
    side_->setMinimumWidth(120);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitter_, 1);
    setCentralWidget(central);
    // The status line stays at the window's foot, below any docked panel.
    auto* foot = new QStatusBar(this);
    foot->setObjectName("StatusFoot");
    foot->setSizeGripEnabled(false);
    foot->setContentsMargins(0, 0, 0, 0);
    status_ = new StatusLine(foot);
    foot->addWidget(status_, 1);
    setStatusBar(foot);

    recentProjects_ = new RecentList(QString::fromStdString(PreferencesPath()), "MRUList", this);
    recentFiles_ = new RecentList(QString::fromStdString(PreferencesPath()), "MRUList2", this);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        if (!w)
            status_->showDocumentKind("none");
        else if (commands_)
            YieldChildMenuKeys(*mdi_, *commands_);
    });
    colorPicker_ = new TColorPicker(side_);
    side_->setColorsPage(colorPicker_);
    colorPicker_->setErrorHandler([this](std::exception_ptr e) {
        Enter("LoadPalette1Click");
        HandleExceptionEx(colorPicker_, e);
    });
    connect(colorPicker_, &TColorPicker::colorInsertRequested, this, [this](const QString& text) {
        RunGuarded(*this, colorPicker_, "ColorClick", [&] {
            if (mdi_->subWindowList().isEmpty())
                return;
            Handle child = ActiveChildHandle();
            if (GetClassName(child) == "TFrmEditor") {
                RecordPtr r = MakeRecord(text.toStdString(), "", "");
                SendMessage(child, 2029, 0, reinterpret_cast<LParam>(r.release()));
            }
        });
    });
    new MenuAnimator(this);
    gate_->makeAvailable(CommandGroup::Palette);
    gate_->makeAvailable(CommandGroup::Printing);
}

void TFrmMainVLR::FormCreate() {
    Enter("FormCreate");
    if (!libraries_.Bind()) {
        std::cerr << "Cannot load " << libraries_.failedModule() << ": " << LastLibraryError() << std::endl;
        ShowMessage(MessageKind::Error, "Fatal Error", kMissingLibraryText, BtnOk);
        fatal_ = true;
        return;
    }
    firstShow_ = true;
    if (auto* app = qobject_cast<VeloraApplication*>(QCoreApplication::instance()))
        app->setExceptionSink(this);
    SetUnhandledExceptionHook([this](std::exception_ptr e) { HandleExceptionEx(this, e); });

    // A plug-in that fails does not stop the program from starting.
    for (const auto& unit : units_)
        RunGuarded(*this, this, "FormCreate", [&] { unit->LoadExtensions(); });
    if (splash_) {
        splash_->setStatus("Loading Preferences...");
        ProcessMessages();
    }
    // Without a printer nothing can be printed or set up, from the start.
    bool printer = HasPrinter();
    for (const char* name : {"PrinterSetup2", "PrinterSetup1", "Print1", "PrintDocument1"})
        if (QAction* a = action(name))
            a->setEnabled(printer);

    recentProjects_->Load();
    recentFiles_->Load();
    for (const auto& unit : units_)
        unit->Created();
    RestoreLayout();

    if (const auto scheme = ReadKeySchemeChoice(PreferencesPath()))
        ApplyKeySchemeChoice(*commands_, *scheme);
    Preferences prefs(PreferencesPath());
    menuDoubleSpeed_ = prefs.MenuDoubleSpeed();
    menuAnimation_ = prefs.ReadType(menuAnimation_);
    ApplyMenuAnimation();
    lowerTags_ = prefs.LowerTags();
}

void TFrmMainVLR::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownBefore_ && !fatal_) {
        shownBefore_ = true;
        FormShow();
    }
}

void TFrmMainVLR::FormShow() {
    // Whatever fails on the way, the splash goes and the swatches are loaded:
    // each step runs in its own guard.
    RunGuarded(*this, this, "FormShow", [this] {
        if (splash_) {
            splash_->setStatus("Initializing Development Environment...");
            ProcessMessages();
        }
        lastSpecialChar_ = 60;
        bulletStyle_ = "regular";
        for (const char* name : {"CheckSpelling1", "SpellingSeparator1"})
            if (QAction* a = action(name))
                a->setVisible(true);
        for (const auto& unit : units_)
            unit->Shown();
    });
    if (firstShow_) {
        bool editorOpened = false;
        if (!arguments_.isEmpty()) {
            // One argument that cannot be opened does not stop the others.
            for (const QString& arg : arguments_)
                RunGuarded(*this, this, "FormShow", [&] { Project().ParseToOpen(arg.toStdString()); });
        } else {
            RunGuarded(*this, this, "FormShow", [&] {
                EnvironmentPrefs env = Preferences(PreferencesPath()).Environment();
                if (env.LastProject && !env.Project.empty() && !recentProjects_->items().isEmpty())
                    Project().ParseToOpen(recentProjects_->items().front().toStdString());
            });
            RunGuarded(*this, this, "FormShow", [&] {
                if (Preferences(PreferencesPath()).Environment().NewEditor) {
                    editorOpened = true;
                    Editors().OpenNewEditor();
                }
            });
        }
        RunGuarded(*this, this, "FormShow", [&] {
            if (!editorOpened && ChildCount("TFrmEditor") == 0)
                UpdateEditorCommands(true);
        });
    }
    if (QAction* a = action("FindNext1"))
        a->setEnabled(false);
    if (splash_) {
        splash_->close();
        splash_ = nullptr;
    }
    PostMessage(handle_, MSG_LOAD_SWATCHES, 0, 0);
}

void TFrmMainVLR::SplashStatus(const QString& text) {
    if (splash_)
        splash_->setStatus(text);
}

void TFrmMainVLR::SetStatusText(const QString& text) {
    Enter("SetStatusText");
    status_->setPanelText(1, text);
}

void TFrmMainVLR::ShowHint(const QString& hint) {
    Enter("ShowHint");
    status_->setPanelText(1, hint);
}

bool TFrmMainVLR::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TFrmMainVLR::GetFileInformation() {
    if (VersionResourceSize() <= 0) {
        fileVersion_ = "No Version Information Available";
        fileName_ = "No Filename Information Available";
        return;
    }
    fileName_ = VersionValue("OriginalFilename");
    fileVersion_ = VersionValue("FileVersion");
}

void TFrmMainVLR::HandleExceptionEx(QObject* sender, std::exception_ptr error) {
    fileVersion_.clear();
    fileName_.clear();
    GetFileInformation();
    std::string className = "Exception";
    std::string message = "Unknown error";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        className = demangledName(typeid(e));
        message = e.what();
    } catch (...) {
    }
    VlrExceptionInfo info{className.c_str(), message.c_str()};
    std::string prefs = PreferencesPath();
    if (libraries_.entry.ExceptCenter) {
        libraries_.entry.ExceptCenter(appHandle_, handle_, sender, &info, prefs.c_str(), currentMethod_.c_str(),
                                      fileVersion_.c_str(), fileName_.c_str());
    } else {
        std::cerr << currentMethod_ << ": " << className << ": " << message << std::endl;
    }
}

int TFrmMainVLR::ChildCount(const std::string& className) const {
    int n = 0;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        // A closed window lingers in the list until it is deleted.
        if (w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide))
            continue;
        QWidget* child = w->widget();
        if (child && GetClassName(child->property("vlrHandle").value<Handle>()) == className)
            ++n;
    }
    return n;
}

Handle TFrmMainVLR::ActiveChildHandle() const {
    // The area's current child stays current while a dialog or another
    // program has the focus; the active one would be none then.
    QMdiSubWindow* w = mdi_->currentSubWindow();
    if (!w || !w->widget())
        return 0;
    return w->widget()->property("vlrHandle").value<Handle>();
}

std::string TFrmMainVLR::ActiveChildClass() const { return GetClassName(ActiveChildHandle()); }

void TFrmMainVLR::UpdateEditorCommands(bool lastClosing) {
    Enter("UpdateEditorCommands");
    int count = ChildCount("TFrmEditor");
    bool printer = HasPrinter();
    if (count >= 2 || !lastClosing) {
        if (printer)
            for (const char* name : {"PrintDocument1", "Print1"})
                gate_->setEnabled(name, true);
    } else {
        for (const char* name : {"PrintDocument1", "Print1", "Save2"})
            gate_->setEnabled(name, false);
    }
    if (count < 2) {
        bool e = !lastClosing;
        for (QAction* a : gate_->editorDependentCommands())
            gate_->setEnabled(a, e);
        if (!e)
            for (const char* name : {"Delete2", "Cut2", "Copy2",
                                     "Paste2", "Undo2", "Redo2"})
                gate_->setEnabled(name, false);
    }
}

bool TFrmMainVLR::FormCloseQuery() {
    Enter("FormCloseQuery");
    QList<QPointer<QMdiSubWindow>> children;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        children << w;
    bool allClosed = true;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (*it && !(*it)->close())
            allClosed = false;
        ProcessMessages();
    }
    // A child that refused to close (its question was cancelled) keeps the
    // program open, so nothing unsaved is lost.
    return allClosed;
}

void TFrmMainVLR::closeEvent(QCloseEvent* event) {
    if (fatal_) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    Enter("FormClose");
    for (const auto& unit : units_) {
        bool mayClose = false;
        if (!RunGuarded(*this, this, "FormClose", [&] { mayClose = unit->CloseQuery(); }) || !mayClose) {
            event->ignore();
            return;
        }
    }
    for (const auto& unit : units_)
        RunGuarded(*this, this, "FormClose", [&] { unit->Closed(); });
    SaveLayout();
    libraries_.Release();
    event->accept();
}

void TFrmMainVLR::resizeEvent(QResizeEvent* event) {
    Enter("FormResize");
    QMainWindow::resizeEvent(event);
    status_->layoutFor(width());
}

QAction* TFrmMainVLR::action(const QString& name) const { return commands_->action(name); }

}  // namespace vlr
