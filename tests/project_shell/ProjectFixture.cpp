#include "ProjectFixture.h"

#include "platform/IniFile.h"
#include "platform/Record.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <filesystem>
#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

void viewImage(vlr::Handle, const char* path, vlr::Handle) { Outside().viewed.push_back(path); }
std::int32_t newProj(vlr::Handle, vlr::Handle) { return ++Outside().newProj; }
std::uint8_t doVars(vlr::Handle) {
    ++Outside().doVars;
    return Outside().onDoVars();
}
std::uint8_t showProjPref(vlr::Handle, vlr::Handle) {
    ++Outside().showProjPref;
    return Outside().onShowProjPref();
}
std::int32_t processProject(const char* project, const char* path, vlr::Handle w, std::int32_t r, std::int32_t f) {
    Outside().builds.push_back({project, path, w, r, f});
    return Outside().buildResult;
}

class RecordingChild : public QWidget, public vlr::MessageHandler {
public:
    RecordingChild(const std::string& className, std::vector<ChildRecord>& log) : log_(log) {
        handle_ = vlr::RegisterWindow(this, className, this);
        setProperty("vlrHandle", QVariant::fromValue(handle_));
    }
    ~RecordingChild() override { vlr::UnregisterWindow(handle_); }
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        ChildRecord r{msg, "", "", ""};
        if (msg == 2029 || msg == 3030) {
            vlr::RecordPtr rec = vlr::AdoptRecord(lParam);
            if (rec) {
                r.first = vlr::RecordText(rec->first);
                r.second = vlr::RecordText(rec->second);
                r.third = vlr::RecordText(rec->third);
            }
        }
        log_.push_back(r);
        return 0;
    }

private:
    std::vector<ChildRecord>& log_;
    vlr::Handle handle_;
};

}  // namespace

vlr::TFrmEditor* RecordingEditors::OpenEditorForFile(const std::string& path) {
    opened.push_back(path);
    return nullptr;
}

OutsideCalls& Outside() {
    static OutsideCalls calls;
    return calls;
}

void ProjectShellTest::SetUp() {
    ShellTest::SetUp();
    Outside() = OutsideCalls{};
    projectDir = (appDir.parent_path() / (appDir.filename().string() + "_project")).string();
    fs::remove_all(projectDir);
    fs::create_directories(projectDir);
    // The variables exchange file lives in the temporary folder: one per test.
    fs::create_directories(appDir / "tmp");
    ::setenv("TMPDIR", (appDir / "tmp").c_str(), 1);
    // Only the stand-in windows of each test: no new editor window at start.
    WritePreferences("[Environment]\nNewEditor=0\n");
}

void ProjectShellTest::TearDown() {
    // The project code makes the project folder current; leave it first.
    ::unsetenv("TMPDIR");
    QDir::setCurrent(QDir::tempPath());
    fs::remove_all(projectDir);
    ShellTest::TearDown();
}

std::unique_ptr<vlr::TFrmMainVLR> ProjectShellTest::NewProjectWindow() {
    auto w = NewMainWindow();
    auto& e = w->Libraries().entry;
    e.IViewDisp = viewImage;
    e.NewProj = newProj;
    e.DoVars = doVars;
    e.ShowProjPref = showProjPref;
    e.ProcessProject = processProject;
    w->SetEditorWindowsForTest(&editors_);
    return w;
}

QWidget* ProjectShellTest::AddRecordingChild(vlr::TFrmMainVLR& w, const std::string& className) {
    auto* child = new RecordingChild(className, childRecords);
    QMdiSubWindow* sub = w.MdiArea()->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    w.MdiArea()->setActiveSubWindow(sub);
    return child;
}

std::string ProjectShellTest::MakeFile(const std::string& relative, const std::string& content) {
    fs::path p = fs::path(projectDir) / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p.string();
}

std::string ProjectShellTest::Read(const std::string& path) const {
    std::string s;
    vlr::ReadFileBytes(path, s);
    return s;
}

std::vector<std::string> ProjectShellTest::MessageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : prompter->messages())
        out.push_back(m.text);
    return out;
}

}  // namespace vlrtest
