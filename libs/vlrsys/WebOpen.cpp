#include "libs/vlrsys/WebOpen.h"

#include "platform/Prompter.h"
#include "platform/Record.h"

#include <QCoreApplication>
#include <QDir>
#include <QProgressDialog>

namespace vlr::sys {

namespace {
constexpr unsigned kOpenFile = 3057;
// wParam of 3057: a document from elsewhere, opened as text whatever its
// name. A project file from the web is never opened as the project: its
// build could read the user's files and its upload publish them.
constexpr WParam kOpenAsDocument = 1;
constexpr const char* kCaption = "Open From the Web";
}  // namespace

std::string OpenFromWeb(const std::string& address, const FetchLimits& limits, Handle mainWindow, QWidget* owner) {
    QProgressDialog progress(QStringLiteral("Downloading %1...").arg(QString::fromStdString(address)),
                             QStringLiteral("Cancel"), 0, 0, owner);
    progress.setWindowTitle(QString::fromUtf8(kCaption));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const FetchResult r = FetchUrl(address, limits, [&](std::int64_t now, std::int64_t total) {
        if (total > 0) {
            progress.setMaximum(int(total / 1024) + 1);
            progress.setValue(int(now / 1024));
        }
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    if (!r.ok) {
        if (!r.cancelled)
            ShowMessage(MessageKind::Error, kCaption, r.error);
        return {};
    }
    const std::string file = SaveToTempFile(QDir::tempPath().toStdString(), r.finalUrl, r.body);
    if (file.empty()) {
        ShowMessage(MessageKind::Error, kCaption, "The downloaded document cannot be saved in " +
                                                      QDir::tempPath().toStdString() + ".");
        return {};
    }
    RecordPtr rec = MakeRecord(file);
    SendMessage(mainWindow, kOpenFile, kOpenAsDocument, reinterpret_cast<LParam>(rec.release()));
    return file;
}

void RunOpenFromWeb(Handle mainWindow, QWidget* owner) {
    const std::optional<std::string> address =
        CurrentPrompter().InputBox({kCaption, "Address of the document:", "http://"});
    if (!address)
        return;
    const std::string a = NormaliseAddress(*address);
    if (a.empty() && !address->empty() && address->find_first_not_of(" \t") != std::string::npos) {
        ShowMessage(MessageKind::Error, kCaption, "\"" + *address + "\" is not a web address (http:// or https://).");
        return;
    }
    if (a.empty() || a == "http://" || a == "https://")
        return;
    OpenFromWeb(a, FetchLimits{}, mainWindow, owner);
}

}  // namespace vlr::sys
