// The system module: the error report, the preferences dialog and the project
// and repository dialogs.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/vlrsys/ErrorReportDialog.h"
#include "libs/vlrsys/PreferencesDialog.h"
#include "platform/System.h"

#include <QGuiApplication>

#include <cstdio>
#include <type_traits>

namespace {

constexpr unsigned kReadNewPreferences = 3038;

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

// The project, variables, repository, download and tools dialogs are not
// offered yet. Each call answers "not accepted" and changes nothing: no file
// is edited, no project is created.
VLR_ENTRY_POINT std::int32_t NewProj(vlr::Handle, vlr::Handle) { return 0; }
VLR_ENTRY_POINT std::uint8_t DoVars(vlr::Handle) { return 0; }
VLR_ENTRY_POINT std::uint8_t ShowProjPref(vlr::Handle, vlr::Handle) { return 0; }
VLR_ENTRY_POINT void ShowObjRep(vlr::Handle, vlr::Handle) {}
VLR_ENTRY_POINT void AddObjRep(vlr::Handle, vlr::Handle, const char*) {}
VLR_ENTRY_POINT void DlFromWeb(vlr::Handle, vlr::Handle) {}
VLR_ENTRY_POINT void AddTool(vlr::Handle, vlr::Handle) {}

static_assert(std::is_same_v<decltype(&ExceptCenter), ExceptCenterFn>);
static_assert(std::is_same_v<decltype(&NewProj), NewProjFn>);
static_assert(std::is_same_v<decltype(&DoVars), DoVarsFn>);
static_assert(std::is_same_v<decltype(&ShowProjPref), ShowProjPrefFn>);
static_assert(std::is_same_v<decltype(&DoPref), DoPrefFn>);
static_assert(std::is_same_v<decltype(&ShowObjRep), ShowObjRepFn>);
static_assert(std::is_same_v<decltype(&AddObjRep), AddObjRepFn>);
static_assert(std::is_same_v<decltype(&DlFromWeb), DlFromWebFn>);
static_assert(std::is_same_v<decltype(&AddTool), AddToolFn>);
