// The system module: the error report, the preferences dialog and the project
// and repository dialogs.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/vlrsys/ErrorReportDialog.h"
#include "libs/vlrsys/NewProjectDialog.h"
#include "libs/vlrsys/PreferencesDialog.h"
#include "libs/vlrsys/ProjectOptionsDialog.h"
#include "libs/vlrsys/RepositoryDialogs.h"
#include "libs/vlrsys/ToolsDialog.h"
#include "libs/vlrsys/VariablesDialog.h"
#include "libs/vlrsys/WebOpen.h"
#include "platform/PrivateTempDir.h"
#include "platform/Prompter.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QGuiApplication>

#include <cstdio>
#include <type_traits>

namespace {

constexpr unsigned kReadNewPreferences = 3038;
constexpr unsigned kOpenFile = 3057;

// A dialog can be shown: there is a widget application and prompts are not
// logged (under logged prompts nobody could answer it).
bool CanRunDialog(const char* title) {
    if (!vlr::modules::HaveWidgetApplication())
        return false;
    if (vlr::PromptsAreLogged()) {
        vlr::modules::LogSkippedDialog(title);
        return false;
    }
    return true;
}

// The report dialog is left out where nobody could answer it: logged prompts,
// and platforms that show nothing.
bool CanShowReportDialog() {
    if (!vlr::modules::HaveWidgetApplication() || vlr::PromptsAreLogged())
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void WriteToStderr(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

// Writes the report to stderr and shows it in the report dialog. A report
// raised while the dialog is already open (by an event it let through) goes to
// stderr only, so reports never pile up as nested dialogs.
VLR_ENTRY_POINT void ExceptCenter(vlr::Handle, vlr::Handle mainWindow, void*, const VlrExceptionInfo* exception,
                                  const char* preferencesPath, const char* methodName, const char* fileVersion,
                                  const char* fileName) {
    static bool showing = false;
    try {
        vlr::sys::ErrorReport report =
            vlr::sys::MakeErrorReport(exception, preferencesPath, methodName, fileVersion, fileName);
        WriteToStderr(vlr::sys::FormatErrorReport(report));
        if (showing || !CanShowReportDialog())
            return;
        showing = true;
        struct Reset {
            ~Reset() { showing = false; }
        } reset;
        vlr::sys::TFrmErrorReport dialog(report, vlr::modules::OwnerWidget(mainWindow));
        dialog.exec();
    } catch (const std::exception& e) {
        // The reporter is the last stop of an exception: it must not throw.
        WriteToStderr(std::string("Velora Error Report could not be shown: ") + e.what() + "\n");
    } catch (...) {
        WriteToStderr("Velora Error Report could not be shown.\n");
    }
}

// Runs the preferences dialog over AppDir + "preferences.dat". OK writes the
// keys and sends 3038 to the main window so it reads them again; Cancel
// writes and sends nothing. Under logged prompts the dialog is not shown and
// the answer is Cancel.
VLR_ENTRY_POINT void DoPref(vlr::Handle, vlr::Handle mainWindow) {
    if (!vlr::modules::HaveWidgetApplication())
        return;
    if (vlr::PromptsAreLogged()) {
        vlr::modules::LogSkippedDialog("Preferences");
        return;
    }
    bool accepted = false;
    {
        vlr::sys::TFrmPreferences dialog(vlr::sys::PreferencesPath(), vlr::modules::OwnerWidget(mainWindow));
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (accepted)
        vlr::SendMessage(mainWindow, kReadNewPreferences, 0, 0);
}

// Runs the new-project dialog. OK creates the folders, writes the project
// file and sends 3057 with its path so the main window opens it; the answer
// is 1 then, 0 when the dialog was cancelled or not shown.
VLR_ENTRY_POINT std::int32_t NewProj(vlr::Handle, vlr::Handle mainWindow) {
    if (!CanRunDialog("New Project"))
        return 0;
    std::string file;
    {
        vlr::sys::TFrmNewProject dialog(vlr::modules::OwnerWidget(mainWindow));
        if (dialog.exec() != QDialog::Accepted)
            return 0;
        file = dialog.projectFile();
    }
    vlr::RecordPtr r = vlr::MakeRecord(file);
    vlr::SendMessage(mainWindow, kOpenFile, 0, reinterpret_cast<vlr::LParam>(r.release()));
    return 1;
}

// Edits the project variables in "~fsetting.tmp" of the user's private
// temporary folder (never the shared one, where a planted link would be
// written through);
// 1 when the user confirmed and the file was written.
VLR_ENTRY_POINT std::uint8_t DoVars(vlr::Handle) {
    if (!CanRunDialog("Project Variables"))
        return 0;
    const std::string path = vlr::PrivateTempFile("~fsetting.tmp");
    std::string error;
    auto entries = vlr::sys::ReadNameValues(path, &error);
    if (!entries) {
        vlr::ShowMessage(vlr::MessageKind::Error, "Project Variables", error + ".");
        return 0;
    }
    vlr::sys::TFrmVariables dialog(path, std::move(*entries), vlr::modules::OwnerWidget(0));
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

// Edits the project options in "~tmppref.ini" of the program folder; 1 when
// the user confirmed and the file was written.
VLR_ENTRY_POINT std::uint8_t ShowProjPref(vlr::Handle, vlr::Handle mainWindow) {
    if (!CanRunDialog("Project Options"))
        return 0;
    vlr::sys::TFrmProjectOptions dialog(vlr::WritablePath("~tmppref.ini"), vlr::modules::OwnerWidget(mainWindow));
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

// "&New...": the templates and the stored documents; OK opens a new editor
// window from the chosen one.
VLR_ENTRY_POINT void ShowObjRep(vlr::Handle, vlr::Handle mainWindow) {
    if (CanRunDialog("New"))
        vlr::sys::RunNewFromRepository(vlr::AppDir(), mainWindow, vlr::modules::OwnerWidget(mainWindow));
}

// "&Add To Repository...": stores a copy of the file under a name, a
// description and a category.
VLR_ENTRY_POINT void AddObjRep(vlr::Handle, vlr::Handle mainWindow, const char* path) {
    if (path && *path && CanRunDialog("Add To Repository"))
        vlr::sys::RunAddToRepository(vlr::AppDir(), path, vlr::modules::OwnerWidget(mainWindow));
}

// "Open From the &Web...": fetches a document and opens it through 3057.
VLR_ENTRY_POINT void DlFromWeb(vlr::Handle, vlr::Handle mainWindow) {
    vlr::sys::RunOpenFromWeb(mainWindow, vlr::modules::OwnerWidget(mainWindow));
}

// Runs the tools dialog over AppDir + "tools.dat"; OK writes the file whole.
// A file that cannot be read is reported and left as it is.
VLR_ENTRY_POINT void AddTool(vlr::Handle, vlr::Handle mainWindow) {
    vlr::sys::RunToolsDialog(vlr::WritablePath("tools.dat"), vlr::modules::OwnerWidget(mainWindow));
}

static_assert(std::is_same_v<decltype(&ExceptCenter), ExceptCenterFn>);
static_assert(std::is_same_v<decltype(&NewProj), NewProjFn>);
static_assert(std::is_same_v<decltype(&DoVars), DoVarsFn>);
static_assert(std::is_same_v<decltype(&ShowProjPref), ShowProjPrefFn>);
static_assert(std::is_same_v<decltype(&DoPref), DoPrefFn>);
static_assert(std::is_same_v<decltype(&ShowObjRep), ShowObjRepFn>);
static_assert(std::is_same_v<decltype(&AddObjRep), AddObjRepFn>);
static_assert(std::is_same_v<decltype(&DlFromWeb), DlFromWebFn>);
static_assert(std::is_same_v<decltype(&AddTool), AddToolFn>);
