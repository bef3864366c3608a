#include "plugins/PlugInHost.h"

#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/units/StatusPanels.h"
#include "app/units/EditorWindows.h"
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "platform/Record.h"
#include "platform/System.h"
#include "platform/Window.h"
#include "plugins/AboutPlugins.h"
#include "plugins/PlugInText.h"
#include "project/vars/InternalVariables.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QProgressBar>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <vector>

namespace vlr {
namespace {

PlugInHost* current = nullptr;

constexpr unsigned kInsertMarkup = 2029;
constexpr unsigned kGetText = 3071;
constexpr unsigned kGetSelText = 3072;
constexpr unsigned kGetCaret = 3073;
constexpr unsigned kSetText = 3074;
constexpr unsigned kSetSelText = 3075;
constexpr unsigned kSetSelStart = 3076;
constexpr unsigned kSetSelLength = 3077;
constexpr unsigned kTextLength = 3080;
constexpr unsigned kSelTextLength = 3081;

int32_t ToInt(const std::string& text) {
    int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw std::invalid_argument("'" + text + "' is not a valid integer value");
    return value;
}

}  // namespace

bool ParseBuildNumber(const std::string& version, TBuildNumber& info) {
    std::vector<std::string> parts;
    std::string rest = version + ".";
    for (std::size_t dot; (dot = rest.find('.')) != std::string::npos; rest.erase(0, dot + 1))
        parts.push_back(rest.substr(0, dot));
    if (parts.size() < 4)
        return false;
    int32_t numbers[4];
    for (int i = 0; i < 4; ++i) {
        const std::string& p = parts[i];
        auto [end, ec] = std::from_chars(p.data(), p.data() + p.size(), numbers[i]);
        if (p.empty() || ec != std::errc() || end != p.data() + p.size())
            return false;
    }
    info.BuildMajor = numbers[0];
    info.BuildMinor = numbers[1];
    info.BuildRelease = numbers[2];
    info.BuildBuild = numbers[3];
    return true;
}

PlugInHost::PlugInHost(ShellServices& shell) : shell_(shell) { current = this; }

PlugInHost::~PlugInHost() {
    if (current == this)
        current = nullptr;
}

PlugInHost* PlugInHost::Current() { return current; }

PlugInHost::Child PlugInHost::ActiveChild() const {
    QMdiArea* mdi = shell_.MdiArea();
    if (mdi == nullptr || mdi->subWindowList().isEmpty())
        return Child::None;
    return shell_.ActiveChildHandle() != 0 && shell_.ActiveChildClass() == "TFrmEditor" ? Child::Editor
                                                                                      : Child::Other;
}

std::pair<std::string, std::string> PlugInHost::Query(unsigned msg) const {
    RecordPtr answer = AdoptRecord(SendMessage(shell_.ActiveChildHandle(), msg, 0, 0));
    if (!answer)
        throw std::runtime_error("The editor window gave no answer");
    return {FirstText(answer), SecondText(answer)};
}

void PlugInHost::Command(unsigned msg, const std::string& first, const std::string& second,
                         const std::string& third) const {
    RecordPtr request = MakeRecord(first, second, third);
    SendMessage(shell_.ActiveChildHandle(), msg, 0, reinterpret_cast<LParam>(request.release()));
}

bool PlugInHost::ProjectOpen() const {
    const std::string& file = shell_.Project().ProjectFile();
    return !file.empty() && file != "none";
}

int32_t PlugInHost::EditorAvailable() { return ActiveChild() == Child::Editor ? 1 : 0; }

int32_t PlugInHost::InsertText(const char* text) {
    if (text == nullptr)
        return 0;
    switch (ActiveChild()) {
    case Child::None: return 0;
    case Child::Other: return 1;
    case Child::Editor: break;
    }
    // Passed as it is: no tag-case conversion, the caret ends after the text.
    Command(kInsertMarkup, "", text, "no");
    return 1;
}

int32_t PlugInHost::StatusText(const char* text) {
    if (text == nullptr)
        return 0;
    shell_.SetStatusText(PlugInString(text));
    return 1;
}

int32_t PlugInHost::GetProjName(char* buffer, int32_t size) {
    // There must be room for at least the zero byte.
    if (!ProjectOpen() || buffer == nullptr || size < 1)
        return 0;
    const std::string& file = shell_.Project().ProjectFile();
    const std::size_t n = std::min(file.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, file.data(), n);
    buffer[n] = '\0';
    return 1;
}

void PlugInHost::SetGauge(int32_t max) { shell_.Status().setProgressMaximum(max); }
void PlugInHost::ResetGauge() { shell_.Status().setProgressValue(0); }
void PlugInHost::IncGauge() {
    StatusPanels& status = shell_.Status();
    status.setProgressValue(std::max(status.progressValue(), status.progressMinimum()) + 1);
}
void PlugInHost::GaugePos(int32_t pos) { shell_.Status().setProgressValue(pos); }

void PlugInHost::NetCon(int32_t state) {
    const bool active = state == 1;
    shell_.SetStatusText(active ? QStringLiteral("Internet Connection Active...") : QString());
    shell_.Status().showConnectionActive(active);
}

intptr_t PlugInHost::GetHandle(int32_t which) {
    switch (which) {
    case 1: return static_cast<intptr_t>(shell_.MainHandle());
    case 2: return static_cast<intptr_t>(shell_.ApplicationHandle());
    case 3: return ActiveChild() == Child::Editor ? static_cast<intptr_t>(shell_.ActiveChildHandle()) : 0;
    default: return 0;
    }
}

int32_t PlugInHost::BuildProject() {
    if (!ProjectOpen())
        return 0;
    // The handler of the Build All command runs as for its toolbar button. A
    // plug-in does not click: it asks for a build while a project is open,
    // whether or not the button can be clicked at this moment.
    QAction* build = shell_.Commands().action("BuildAll1");
    if (build == nullptr)
        return 0;
    Q_EMIT build->triggered(false);
    return 1;
}

int32_t PlugInHost::DispAbout(const TPlugInAbout* info) {
    return vlr::DispAbout(info, shell_.MainWidget()) ? 1 : 0;
}

int32_t PlugInHost::OpenDocument(const char* fileName) {
    std::error_code ec;
    // Only a file opens as a document: a folder, or nothing by that name, gives 0.
    if (fileName == nullptr || *fileName == '\0' || !std::filesystem::is_regular_file(fileName, ec))
        return 0;
    shell_.Project().ParseToOpen(fileName);
    return 1;
}

int32_t PlugInHost::CreateEditor() { return shell_.Editors().OpenNewEditor() != nullptr ? 1 : 0; }

int32_t PlugInHost::AddToProject(const char* fileName) {
    if (fileName == nullptr || *fileName == '\0' || !ProjectOpen())
        return 0;
    // The project unit tells the user about a file already in the project;
    // a plug-in gets its answer without a message box.
    const auto& files = shell_.Project().Project().AllFiles;
    if (std::find(files.begin(), files.end(), fileName) != files.end())
        return 0;
    return shell_.Project().AddToProject(fileName) ? 1 : 0;
}

int32_t PlugInHost::GetBuildNum(TBuildNumber* info) {
    if (info == nullptr)
        return 0;
    return ParseBuildNumber(vlr::GetBuildNum(), *info) ? 1 : 0;
}

int32_t PlugInHost::GetText(char* buffer, int32_t maxLen, bool selection) {
    if (buffer == nullptr)
        return 0;
    switch (ActiveChild()) {
    case Child::None: return 0;
    case Child::Other: buffer[0] = '\0'; return 1;
    case Child::Editor: break;
    }
    const std::string text = Query(selection ? kGetSelText : kGetText).first;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(std::max(maxLen, 0)));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return 1;
}

int32_t PlugInHost::GetTextBufSize(bool selection) {
    switch (ActiveChild()) {
    case Child::None: return -1;
    case Child::Other: return 0;
    case Child::Editor: break;
    }
    return ToInt(Query(selection ? kSelTextLength : kTextLength).first);
}

const char* PlugInHost::GetCarPos() {
    if (ActiveChild() != Child::Editor)
        return nullptr;
    auto [column, line] = Query(kGetCaret);
    caretText_ = line + "," + column;
    return caretText_.c_str();
}

int32_t PlugInHost::SetText(const char* text, bool selection) {
    if (text == nullptr || ActiveChild() != Child::Editor)
        return 0;
    Command(selection ? kSetSelText : kSetText, text);
    return 1;
}

int32_t PlugInHost::SetSelNumber(int32_t value, bool length) {
    if (ActiveChild() != Child::Editor)
        return 0;
    Command(length ? kSetSelLength : kSetSelStart, std::to_string(value));
    return 1;
}

}  // namespace vlr
