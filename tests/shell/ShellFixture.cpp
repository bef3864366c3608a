#include "ShellFixture.h"

#include "app/shell/VeloraApplication.h"
#include "platform/IniFile.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <fstream>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

class ChildWindow : public QWidget, public vlr::MessageHandler {
public:
    explicit ChildWindow(const std::string& className) : className_(className) {
        handle_ = vlr::RegisterWindow(this, className, this);
        setProperty("vlrHandle", QVariant::fromValue(handle_));
    }
    ~ChildWindow() override { vlr::UnregisterWindow(handle_); }
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        ChildMessages().push_back({className_, msg});
        // Record messages (insertion, find, find next, replace, go to line)
        // are released by their receiver.
        if (msg == 2029 || (msg >= 3052 && msg <= 3054) || msg == 3078)
            vlr::AdoptRecord(lParam);
        return 0;
    }

private:
    std::string className_;
    vlr::Handle handle_;
};

}  // namespace

std::vector<ReportedException>& Reports() {
    static std::vector<ReportedException> r;
    return r;
}

std::vector<ChildMessage>& ChildMessages() {
    static std::vector<ChildMessage> m;
    return m;
}

void RecordingExceptCenter(vlr::Handle, vlr::Handle, void*, const VlrExceptionInfo* e, const char* prefs,
                           const char* method, const char* version, const char* file) {
    Reports().push_back({method, e->className, e->message, prefs, version, file});
}

void ShellTest::SetUp() {
    appDir = fs::temp_directory_path() /
             ("vlr_shell_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(appDir);
    MakeAppDir();
    ::setenv("VELORA_APPDIR", appDir.c_str(), 1);
    // The tests run on machines without printers; printing is tested as if
    // there were one unless a test says otherwise.
    ::setenv("VELORA_HAS_PRINTER", "1", 1);
    prompter = std::make_unique<vlr::ScriptedPrompter>();
    Reports().clear();
    ChildMessages().clear();
}

void ShellTest::TearDown() {
    vlr::TFrmMainVLR::SetMethodProbe(nullptr);
    vlr::SetShellOpenHook(nullptr);
    prompter.reset();
    ::unsetenv("VELORA_APPDIR");
    ::unsetenv("VELORA_HAS_PRINTER");
    fs::remove_all(appDir);
}

void ShellTest::MakeAppDir(const std::vector<std::string>& leaveOut) {
    fs::remove_all(appDir);
    fs::create_directories(appDir);
    for (const auto& entry : fs::directory_iterator(VELORA_RUN_FOLDER)) {
        std::string name = entry.path().filename().string();
        // The sample plug-ins stay out unless a test installs plug-ins itself.
        if (name == "preferences.dat" || name == "plugins")
            continue;
        bool skip = false;
        for (const std::string& m : leaveOut)
            skip = skip || name == m;
        if (!skip)
            fs::create_symlink(entry.path(), appDir / name);
    }
}

void ShellTest::WritePreferences(const std::string& text) {
    std::ofstream(appDir / "preferences.dat", std::ios::binary) << text;
}

std::string ShellTest::ReadPreferences() const {
    std::string s;
    vlr::ReadFileBytes((appDir / "preferences.dat").string(), s);
    return s;
}

std::unique_ptr<vlr::TFrmMainVLR> ShellTest::NewMainWindow(bool show) {
    auto w = std::make_unique<vlr::TFrmMainVLR>();
    w->Libraries().entry.ExceptCenter = RecordingExceptCenter;
    if (show && !w->fatal()) {
        w->show();
        vlr::ProcessMessages();
    }
    return w;
}

QWidget* ShellTest::AddChild(vlr::TFrmMainVLR& w, const std::string& className) {
    auto* child = new ChildWindow(className);
    QMdiSubWindow* sub = w.MdiArea()->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    return child;
}

}  // namespace vlrtest

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program does: the preview module's web engine shares OpenGL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    vlr::VeloraApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
