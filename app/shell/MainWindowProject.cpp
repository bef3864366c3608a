// The main-window messages about projects, files, builds and hints that editor
// windows and the outside modules send.
#include "app/shell/MainWindow.h"
#include "platform/Prompter.h"

#include "app/shell/StatusLine.h"
#include "platform/Convert.h"
#include "platform/Record.h"
#include "project/open/FileKinds.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QProgressBar>

#include <charconv>
#include <stdexcept>

namespace vlr {
namespace {

enum ProjectMessageNumber : unsigned {
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
    MSG_IGNORED_3405 = 3405,
};


bool fileExists(const std::string& path) {
    QFileInfo info(QString::fromStdString(path));
    return info.exists() && !info.isDir();
}

}  // namespace

bool TFrmMainVLR::HandleProjectMessage(unsigned msg, WParam, LParam lParam, LResult& result) {
    switch (msg) {
    case MSG_TELL_VARIABLE: case MSG_TELL_FILE: case MSG_VALIDATE_START: case MSG_VALIDATE_END:
    case MSG_OPEN_RELATIVE: case MSG_OPEN_PATH: case MSG_BUILD_ONE: case MSG_OPEN_LIST:
    case MSG_IGNORED_3042: case MSG_OPEN_FILE: case MSG_PROGRESS_MAX: case MSG_PROGRESS_STEP:
    case MSG_PROGRESS_RESET: case MSG_STATUS_TEXT: case MSG_PROCESS_PATH: case MSG_PROJECT_FILE:
    case MSG_IGNORED_3405:
        break;
    default:
        return false;
    }
    // The senders are outside modules and editor windows: an error must end
    // in the exception report, never travel back into the sender.
    try {
        result = ProjectMessage(msg, lParam);
    } catch (...) {
        result = 0;
        HandleExceptionEx(this, std::current_exception());
    }
    return true;
}

std::string TFrmMainVLR::LookupPath(const std::string& name) const {
    return LookupDirectory(name, project_.SourceDir, project_.ImageDir) + name;
}

void TFrmMainVLR::SendHintBack(const std::string& text) {
    enter("SendHintBack");
    ProcessMessages();
    RecordPtr r = MakeRecord(text + "|");
    if (Handle child = ActiveChildHandle())
        SendMessage(child, MSG_HINT_REPLY, 0, reinterpret_cast<LParam>(r.release()));
}

LResult TFrmMainVLR::ProjectMessage(unsigned msg, LParam lParam) {
    switch (msg) {
    case MSG_TELL_VARIABLE: {
        enter("TellVVal");
        RecordPtr r = AdoptRecord(lParam);
        const std::string name = FirstText(r);
        r.reset();
        SendHintBack(VariableValueOf(name));
        return 0;
    }
    case MSG_TELL_FILE: {
        enter("TellFVal");
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
        enter("ValidateStart");
        status_->setPanelText(1, "Internet Connection Active...");
        status_->showConnectionActive(true);
        return 0;
    case MSG_VALIDATE_END:
        enter("ValidateEnd");
        status_->setPanelText(1, QString());
        status_->showConnectionActive(false);
        return 0;
    case MSG_OPEN_RELATIVE: {
        enter("OpenRFile");
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
        enter("OpenXFile");
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
        enter("BuildOne");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r);
        const bool flag = SecondText(r) == "true";
        r.reset();
        return BuildSingle(path, flag) == 1 ? 1 : 0;
    }
    case MSG_OPEN_LIST: {
        enter("OpenList");
        RecordPtr r = AdoptRecord(lParam);
        const std::vector<std::string> pieces = SplitOpenList(FirstText(r));
        r.reset();
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
        for (const std::string& path : pieces)
            ParseToOpen(path);
        return 0;
    }
    case MSG_OPEN_FILE: {
        enter("FOpen");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r);
        r.reset();
        if (!path.empty())
            ParseToOpen(path);
        return 0;
    }
    case MSG_PROGRESS_MAX: {
        enter("ProgressMax");
        RecordPtr r = AdoptRecord(lParam);
        status_->progressBar()->setMaximum(StrToInt(FirstText(r)));
        return 0;
    }
    case MSG_PROGRESS_STEP: {
        enter("ProgressStep");
        QProgressBar* bar = status_->progressBar();
        bar->setValue(bar->value() + 1);
        return 0;
    }
    case MSG_PROGRESS_RESET:
        enter("ProgressReset");
        status_->progressBar()->setValue(0);
        return 0;
    case MSG_STATUS_TEXT: {
        enter("StatusText");
        RecordPtr r = AdoptRecord(lParam);
        status_->setPanelText(1, QString::fromStdString(FirstText(r)));
        return 0;
    }
    case MSG_PROCESS_PATH: {
        enter("ProcessPath");
        RecordPtr r = AdoptRecord(lParam);
        const std::string path = FirstText(r);
        r.reset();
        if (libraries_.entry.ProcessProject)
            libraries_.entry.ProcessProject(projectFile_.c_str(), path.c_str(), handle_, 0, 0);
        if (Handle child = ActiveChildHandle())
            SendMessage(child, MSG_PATH_PROCESSED, 0, 0);
        return 0;
    }
    case MSG_PROJECT_FILE:
        enter("ProjectFileQuery");
        return reinterpret_cast<LResult>(MakeRecord(projectFile_).release());
    default:  // 3042, 3405: accepted and ignored
        return 0;
    }
}

}  // namespace vlr
