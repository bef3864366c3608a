#include "EditorFixture.h"

#include "app/shell/VeloraApplication.h"
#include "memo/widget/options/OptionsDialog.h"
#include "platform/Record.h"

#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QMdiSubWindow>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vlrtest {

std::vector<ReportedError>& Errors() {
    static std::vector<ReportedError> e;
    return e;
}

namespace {
void RecordingExceptCenter(vlr::Handle, vlr::Handle, void*, const VlrExceptionInfo* e, const char*,
                           const char* method, const char*, const char*) {
    Errors().push_back({method, e->message});
}
}  // namespace

SpyWindow::SpyWindow() { handle_ = vlr::RegisterWindow(this, "TFrmMainVLR"); }
SpyWindow::~SpyWindow() { vlr::UnregisterWindow(handle_); }

vlr::LResult SpyWindow::handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) {
    vlr::RecordPtr r = vlr::AdoptRecord(lParam);
    messages.push_back({msg, r ? vlr::RecordText(r->first) : "", r ? vlr::RecordText(r->second) : "",
                        r ? vlr::RecordText(r->third) : ""});
    return 0;
}

std::vector<SpyMessage> SpyWindow::of(unsigned msg) const {
    std::vector<SpyMessage> out;
    for (const SpyMessage& m : messages)
        if (m.msg == msg)
            out.push_back(m);
    return out;
}

void EditorTest::SetUp() {
    startDir = fs::current_path();
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const fs::path root = fs::temp_directory_path() / ("vlr_edwin_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(root);
    appDir = root / "app";
    work = root / "docs";
    fs::create_directories(appDir);
    fs::create_directories(work);
    for (const auto& entry : fs::directory_iterator(VELORA_RUN_FOLDER)) {
        const std::string n = entry.path().filename().string();
        // The run folder's own settings and recovered documents stay out: each test writes its own
        // (tests running at the same time would see each other's copies).
        if (n != "preferences.dat" && n != "sedprop.dat" && n != "plugins" && n != "recovery")
            fs::create_symlink(entry.path(), appDir / n);
    }
    ::setenv("VELORA_APPDIR", (appDir.string() + "/").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root / "xdg").c_str(), 1);
    prompter = std::make_unique<vlr::ScriptedPrompter>();
    Errors().clear();
    main = std::make_unique<vlr::TFrmMainVLR>();
    main->Libraries().entry.ExceptCenter = RecordingExceptCenter;
    // Start without the default new document; tests make the windows they need.
    WritePreferences("[Environment]\nNewEditor=0\n");
    main->show();
    vlr::ProcessMessages();
}

void EditorTest::TearDown() {
    // A test may have moved into one of its own folders, which go below: the
    // next tests (and the programs they start) need a folder that exists.
    fs::current_path(startDir);
    if (main) {
        // Nothing may ask questions while the fixture is torn down.
        for (auto* sub : main->MdiArea()->subWindowList())
            if (auto* e = qobject_cast<vlr::TFrmEditor*>(sub->widget()))
                e->memo().setModified(false);
        main.reset();
    }
    prompter.reset();
    ::unsetenv("VELORA_APPDIR");
    fs::remove_all(appDir.parent_path());
}

void EditorTest::WriteFile(const std::string& file, const std::string& bytes) const {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string EditorTest::ReadFile(const std::string& file) const {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void EditorTest::WritePreferences(const std::string& text) const { WriteFile((appDir / "preferences.dat").string(), text); }

vlr::TFrmEditor* EditorTest::NewEditor() { return main->editorUnit().OpenNewEditor(); }

vlr::TFrmEditor* EditorTest::EditorFor(const std::string& file) { return main->editorUnit().OpenEditorForFile(file); }

vlr::LResult EditorTest::Command(vlr::TFrmEditor* e, unsigned msg, const std::string& first, const std::string& second,
                                 const std::string& third) {
    vlr::RecordPtr r = vlr::MakeRecord(first, second, third);
    return vlr::SendMessage(e->handle(), msg, 0, reinterpret_cast<vlr::LParam>(r.release()));
}

std::pair<std::string, std::string> EditorTest::Query(vlr::TFrmEditor* e, unsigned msg) {
    vlr::RecordPtr r = vlr::AdoptRecord(vlr::SendMessage(e->handle(), msg, 0, 0));
    if (!r)
        return {"<no record>", ""};
    return {vlr::RecordText(r->first), vlr::RecordText(r->second)};
}

std::string EditorTest::Text(vlr::TFrmEditor* e) const { return e->memo().text().toStdString(); }

void EditorTest::Type(vlr::TFrmEditor* e, const std::string& text) const {
    e->memo().engine().typeText(text);
}

bool EditorTest::Enabled(const char* action) const { return main->action(action)->isEnabled(); }

void EditorTest::EditOptions(vlr::TFrmEditor* e, const std::function<void(velora::memo::TOptionsDialog&)>& edit) {
    velora::memo::SetOptionsDialogDriver([&](velora::memo::TOptionsDialog& d) {
        edit(d);
        d.OkButton->click();
    });
    ChooseInContextMenu(e, e->EditorOptions1);
    velora::memo::SetOptionsDialogDriver(nullptr);
}

void EditorTest::ChooseInContextMenu(vlr::TFrmEditor* e, QAction* item) {
    // The event a right click on the text gives the control.
    QWidget* text = e->memo().viewport();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 10), text->mapToGlobal(QPoint(20, 10)));
    QApplication::sendEvent(text, &click);
    ASSERT_TRUE(e->PopupMenu1->isVisible());
    for (int i = 0; i < 40 && e->PopupMenu1->activeAction() != item; ++i)
        QTest::keyClick(e->PopupMenu1, Qt::Key_Down);
    ASSERT_EQ(e->PopupMenu1->activeAction(), item) << item->objectName().toStdString() << " cannot be reached";
    QTest::keyClick(e->PopupMenu1, Qt::Key_Return);
    vlr::ProcessMessages();
}

}  // namespace vlrtest

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VELORA_PROMPTS", "log");
    // As the program does: the preview module's web engine shares OpenGL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    vlr::VeloraApplication app(argc, argv);
    // The recovery tests start this program again as the process they kill.
    if (argc >= 4 && std::string(argv[1]) == "--recovery-child")
        return vlrtest::RunRecoveryChild(argv[2], argv[3]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
