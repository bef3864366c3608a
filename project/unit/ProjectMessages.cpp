// The main-window messages about projects, files, builds and hints that editor
// windows and the outside modules send.
#include "project/unit/ProjectUnit.h"

#include "app/units/CoreLibraries.h"
#include "app/units/EditorWindows.h"
#include "app/units/ShellServices.h"
#include "platform/Prompter.h"

#include "app/units/StatusPanels.h"
#include "platform/Convert.h"
#include "platform/Record.h"
#include "project/build/ProjectPaths.h"
#include "project/build/RelativeFolder.h"
#include "project/open/FileKinds.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QProgressBar>

#include <charconv>
#include <stdexcept>

namespace vlr {
namespace {

enum ProjectMessageNumber : unsigned {
    MSG_SET_IMAGE = 2322,
    MSG_HINT_REPLY = 3030,
    MSG_TELL_VARIABLE = 3031,
    MSG_TELL_FILE = 3032,
    MSG_VALIDATE_START = 3033,
    MSG_VALIDATE_END = 3034,
    MSG_OPEN_RELATIVE = 3035,
    MSG_OPEN_PATH = 3037,
    MSG_BUILD_ONE = 3039,
    MSG_PATH_PROCESSED = 3040,
    MSG_OPEN_LIST = 3041,
    MSG_IGNORED_3042 = 3042,
    MSG_OPEN_FILE = 3057,
    MSG_PROGRESS_MAX = 3058,
    MSG_PROGRESS_STEP = 3059,
    MSG_PROGRESS_RESET = 3060,
    MSG_STATUS_TEXT = 3061,
    MSG_PROCESS_PATH = 3062,
    MSG_PROJECT_FILE = 3085,
    MSG_PROJECT_FOLDERS = 3086,
    MSG_SAVED_AS = 3087,
    MSG_IGNORED_3405 = 3405,
};


bool fileExists(const std::string& path) {
    QFileInfo info(QString::fromStdString(path));
    return info.exists() && !info.isDir();
}

}  // namespace

std::vector<unsigned> TProjectUnit::Messages() const {
    return {MSG_SET_IMAGE,     MSG_TELL_VARIABLE, MSG_TELL_FILE,      MSG_VALIDATE_START, MSG_VALIDATE_END,
            MSG_OPEN_RELATIVE, MSG_OPEN_PATH,     MSG_BUILD_ONE,      MSG_OPEN_LIST,      MSG_IGNORED_3042,
            MSG_OPEN_FILE,     MSG_PROGRESS_MAX,  MSG_PROGRESS_STEP,  MSG_PROGRESS_RESET, MSG_STATUS_TEXT,
            MSG_PROCESS_PATH,  MSG_PROJECT_FILE,  MSG_PROJECT_FOLDERS, MSG_SAVED_AS,     MSG_IGNORED_3405};
}

std::string TProjectUnit::LookupPath(const std::string& name) const {
    return LookupDirectory(name, project_.SourceDir, project_.ImageDir) + name;
}

void TProjectUnit::OfferToAddToProject(const std::string& given) {
    shell_.Enter("OfferToAddToProject");
    if (projectFile_ == kNoProjectFile || given.empty() || project_.SourceDir.empty() || !IsProjectSourceFile(given))
        return;
    const std::string path = AbsolutePath(given);
    const std::string folder = build::LexicallyNormal(DirectoryOf(path));
    const bool inSource = folder == project_.SourceDir || !build::RelativeFolder(project_.SourceDir, folder).empty();
    if (!inSource || HasProjectFile(project_, path))
        return;
    if (ShowMessage(MessageKind::Confirmation, "", "Add " + FileNameOf(path) + " to the project?", BtnYesNo) ==
        ModalResult::Yes)
        AddToProject(path);
}

void TProjectUnit::SendHintBack(const std::string& text) {
    shell_.Enter("SendHintBack");
    ProcessMessages();
    RecordPtr r = MakeRecord(text + "|");
    if (Handle child = shell_.ActiveChildHandle())
        SendMessage(child, MSG_HINT_REPLY, 0, reinterpret_cast<LParam>(r.release()));
}

LResult TProjectUnit::HandleMessage(unsigned msg, WParam wParam, LParam lParam) {
    switch (msg) {
    case MSG_SET_IMAGE: {
        shell_.Enter("SetImage");
        RecordPtr r = AdoptRecord(lParam);
        SetImageEx(FirstText(r));
        return 0;
    }
    case MSG_TELL_VARIABLE: {
        shell_.Enter("TellVVal");
        RecordPtr r = AdoptRecord(lParam);
        const std::string name = FirstText(r);
        r.reset();
        SendHintBack(VariableValueOf(name));
        return 0;
    }
    case MSG_TELL_FILE: {
        shell_.Enter("TellFVal");
        RecordPtr r = AdoptRecord(lParam);
        const std::string candidate = LookupPath(FirstText(r));
        r.reset();
        QFileInfo info(QString::fromStdString(candidate));
        if (!info.exists())
            return 0;
        std::string when;
        if (!info.isDir()) {
            const QDateTime written = info.lastModified().toLocalTime();
            if (written.isValid())
                when = QLocale::system().toString(written, QLocale::ShortFormat).toStdString();
        }
        SendHintBack("Last Accessed: " + when);
        return 0;
    }
    case MSG_VALIDATE_START:
        shell_.Enter("ValidateStart");
        shell_.Status().setPanelText(1, "Internet Connection Active...");
        shell_.Status().showConnectionActive(true);
        return 0;
    case MSG_VALIDATE_END:
        shell_.Enter("ValidateEnd");
        shell_.Status().setPanelText(1, QString());
        shell_.Status().showConnectionActive(false);
        return 0;
    case MSG_OPEN_RELATIVE: {
        shell_.Enter("OpenRFile");
        RecordPtr r = AdoptRecord(lParam);
        const std::string name = FirstText(r);
        r.reset();
        const std::string candidate = LookupPath(name);
        if (fileExists(candidate))
            ParseToOpen(candidate);
        else
            ShowMessage(MessageKind::Information, "", "Cannot find file " + candidate, BtnOk);
        return 0;
    }
    case MSG_OPEN_PATH: {
        shell_.Enter("OpenXFile");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r);
        r.reset();
        if (fileExists(path))
            ParseToOpen(path);
        else
            ShowMessage(MessageKind::Information, "", "Cannot find file " + path, BtnOk);
        return 0;
    }
    case MSG_BUILD_ONE: {
        shell_.Enter("BuildOne");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r);
        const bool flag = SecondText(r) == "true";
        r.reset();
        return BuildSingle(path, flag) == 1 ? 1 : 0;
    }
    case MSG_OPEN_LIST: {
        shell_.Enter("OpenList");
        RecordPtr r = AdoptRecord(lParam);
        const std::vector<std::string> pieces = SplitOpenList(FirstText(r));
        r.reset();
        QWidget* main = shell_.MainWidget();
        if (main->isMinimized())
            main->showNormal();
        main->raise();
        main->activateWindow();
        for (const std::string& path : pieces)
            ParseToOpen(path);
        return 0;
    }
    case MSG_OPEN_FILE: {
        shell_.Enter("FOpen");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r);
        r.reset();
        // wParam 1: a document from elsewhere (the web); a project file among
        // them opens as text, never as the project.
        if (!path.empty() && wParam == 1 && KindOfFile(path) == OpenKind::Project)
            shell_.Editors().OpenEditorForFile(path);
        else if (!path.empty())
            ParseToOpen(path);
        return 0;
    }
    case MSG_PROGRESS_MAX: {
        shell_.Enter("ProgressMax");
        RecordPtr r = AdoptRecord(lParam);
        shell_.Status().setProgressMaximum(StrToInt(FirstText(r)));
        return 0;
    }
    case MSG_PROGRESS_STEP: {
        shell_.Enter("ProgressStep");
        StatusPanels& status = shell_.Status();
        status.setProgressValue(status.progressValue() + 1);
        return 0;
    }
    case MSG_PROGRESS_RESET:
        shell_.Enter("ProgressReset");
        shell_.Status().setProgressValue(0);
        return 0;
    case MSG_STATUS_TEXT: {
        shell_.Enter("StatusText");
        RecordPtr r = AdoptRecord(lParam);
        shell_.Status().setPanelText(1, QString::fromStdString(FirstText(r)));
        return 0;
    }
    case MSG_PROCESS_PATH: {
        shell_.Enter("ProcessPath");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r);
        r.reset();
        if (shell_.Libraries().entry.ProcessProject)
            shell_.Libraries().entry.ProcessProject(projectFile_.c_str(), path.c_str(), shell_.MainHandle(), 0, 0);
        if (Handle child = shell_.ActiveChildHandle())
            SendMessage(child, MSG_PATH_PROCESSED, 0, 0);
        return 0;
    }
    case MSG_PROJECT_FILE:
        shell_.Enter("ProjectFileQuery");
        return reinterpret_cast<LResult>(MakeRecord(projectFile_).release());
    case MSG_PROJECT_FOLDERS:
        // Where an editor's dialogs start: the source and images folders.
        shell_.Enter("ProjectFoldersQuery");
        if (projectFile_ == kNoProjectFile)
            return reinterpret_cast<LResult>(MakeRecord("", "").release());
        return reinterpret_cast<LResult>(MakeRecord(project_.SourceDir, project_.ImageDir).release());
    case MSG_SAVED_AS: {
        shell_.Enter("DocumentSavedAs");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r);
        r.reset();
        OfferToAddToProject(path);
        return 0;
    }
    default:  // 3042, 3405: accepted and ignored
        return 0;
    }
}

}  // namespace vlr
