#include "libs/webpost/UploadWizard.h"

#include "libs/webpost/upload/ProjectUpload.h"
#include "libs/webpost/upload/SecretStore.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <chrono>

namespace vlr::webpost {
namespace {

const char* const kCaption = "Upload";
constexpr int kProgressSteps = 1000;
constexpr auto kProgressInterval = std::chrono::milliseconds(50);

QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Std(const QString& s) { return s.trimmed().toStdString(); }

QString Bytes(quint64 n) {
    if (n < 1024)
        return QStringLiteral("%1 bytes").arg(n);
    if (n < 1024 * 1024)
        return QStringLiteral("%1 KB").arg(static_cast<double>(n) / 1024.0, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(static_cast<double>(n) / (1024.0 * 1024.0), 0, 'f', 1);
}

void ShowError(const std::string& text) { ShowMessage(MessageKind::Error, kCaption, text); }

}  // namespace

// Carries the engine's reports from the worker thread to the window, at most
// one byte count every few milliseconds.
class TFrmUpload::Observer : public upload::UploadObserver {
public:
    Observer(TFrmUpload* window, std::atomic<bool>& cancel) : window_(window), cancel_(cancel) {}

    void fileStarted(const upload::PlannedFile& file, int number, int count) override {
        current_ = Text(file.path);
        const QString line = (file.action == upload::FileAction::Delete ? QStringLiteral("Deleting %1 (%2 of %3)")
                                                                        : QStringLiteral("Sending %1 (%2 of %3)"))
                                 .arg(current_)
                                 .arg(number)
                                 .arg(count);
        QMetaObject::invokeMethod(window_, [w = window_, line] { w->currentFile_->setText(line); },
                                  Qt::QueuedConnection);
        last_ = {};
    }

    void bytesSent(std::uint64_t fileDone, std::uint64_t fileSize, std::uint64_t allDone,
                   std::uint64_t allSize) override {
        const auto now = std::chrono::steady_clock::now();
        if (fileDone != fileSize && now - last_ < kProgressInterval)
            return;
        last_ = now;
        QMetaObject::invokeMethod(
            window_,
            [w = window_, file = current_, fileDone, fileSize, allDone, allSize] {
                w->showProgress(file, fileDone, fileSize, allDone, allSize);
            },
            Qt::QueuedConnection);
    }

    void fileFinished(const upload::PlannedFile& file, bool ok, const std::string& error) override {
        QString line;
        if (ok)
            line = (file.action == upload::FileAction::Delete ? QStringLiteral("deleted  ") : QStringLiteral("sent     ")) +
                   Text(file.path);
        else
            line = QStringLiteral("FAILED   ") + Text(file.path) + QStringLiteral(": ") + Text(error);
        QMetaObject::invokeMethod(window_, [w = window_, line] { w->fileFinished(line); }, Qt::QueuedConnection);
    }

    bool cancelRequested() override { return cancel_.load(); }

private:
    TFrmUpload* window_;
    std::atomic<bool>& cancel_;
    QString current_;
    std::chrono::steady_clock::time_point last_{};
};

TFrmUpload::TFrmUpload(const std::string& projectFile, const std::string& localFolder,
                       const std::string& destination, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmUpload"));
    setWindowTitle(QStringLiteral("Upload Wizard"));
    if (!projectFile.empty() && projectFile != "none") {
        upload::ProjectUploadInfo info;
        if (upload::ReadProjectUploadInfo(projectFile, info)) {
            stateFolder_ = info.stateFolder;
            defaultFolder_ = info.outputDir;
            remembered_ = upload::LoadDestinations(stateFolder_);
        }
    }
    build();
    fillDestinations(destination);
    if (!localFolder.empty())
        localFolder_->setText(Text(localFolder));
}

TFrmUpload::~TFrmUpload() {
    cancel_ = true;
    if (worker_.joinable())
        worker_.join();
}

void TFrmUpload::build() {
    localFolder_ = new QLineEdit(this);
    localFolder_->setObjectName(QStringLiteral("LocalFolder"));
    destination_ = new QComboBox(this);
    destination_->setObjectName(QStringLiteral("Destination"));
    destination_->setEditable(true);
    destination_->setInsertPolicy(QComboBox::NoInsert);
    destination_->setMinimumWidth(360);
    destination_->lineEdit()->setPlaceholderText(QStringLiteral("ftp://server/folder/, sftp://..., or a folder"));
    user_ = new QLineEdit(this);
    user_->setObjectName(QStringLiteral("User"));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("Password"));
    password_->setEchoMode(QLineEdit::Password);
    rememberPassword_ = new QCheckBox(QStringLiteral("&Remember the password in the desktop's secret store"), this);
    rememberPassword_->setObjectName(QStringLiteral("RememberPassword"));
    rememberPassword_->setEnabled(upload::SecretStoreAvailable());
    deleteRemoved_ = new QCheckBox(QStringLiteral("&Delete files at the destination that were removed here"), this);
    deleteRemoved_->setObjectName(QStringLiteral("DeleteRemoved"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Local folder:"), localFolder_);
    form->addRow(QStringLiteral("&Destination:"), destination_);
    form->addRow(QStringLiteral("&User:"), user_);
    form->addRow(QStringLiteral("&Password:"), password_);
    form->addRow(QString(), rememberPassword_);
    form->addRow(QString(), deleteRemoved_);

    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("FileList"));
    log_->setAccessibleName(QStringLiteral("Files"));
    log_->setReadOnly(true);
    log_->setMinimumHeight(160);
    currentFile_ = new QLabel(this);
    currentFile_->setObjectName(QStringLiteral("CurrentFile"));
    bytes_ = new QLabel(this);
    bytes_->setObjectName(QStringLiteral("Bytes"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(0);

    dryRunButton_ = new QPushButton(QStringLiteral("D&ry Run"), this);
    dryRunButton_->setObjectName(QStringLiteral("DryRun"));
    uploadButton_ = new QPushButton(QStringLiteral("&Upload"), this);
    uploadButton_->setObjectName(QStringLiteral("Upload"));
    uploadButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("CancelUpload"));
    cancelButton_->setEnabled(false);
    closeButton_ = new QPushButton(QStringLiteral("Cl&ose"), this);
    closeButton_->setObjectName(QStringLiteral("Close"));
    connect(dryRunButton_, &QPushButton::clicked, this, &TFrmUpload::dryRun);
    connect(uploadButton_, &QPushButton::clicked, this, &TFrmUpload::startUpload);
    connect(cancelButton_, &QPushButton::clicked, this, &TFrmUpload::cancelUpload);
    connect(closeButton_, &QPushButton::clicked, this, &TFrmUpload::reject);
    connect(destination_, &QComboBox::activated, this, &TFrmUpload::destinationChosen);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(dryRunButton_);
    buttons->addWidget(uploadButton_);
    buttons->addWidget(cancelButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(log_, 1);
    layout->addWidget(currentFile_);
    layout->addWidget(progress_);
    layout->addWidget(bytes_);
    layout->addLayout(buttons);
}

void TFrmUpload::fillDestinations(const std::string& preferred) {
    destination_->clear();
    for (const upload::RememberedDestination& d : remembered_)
        destination_->addItem(Text(d.location));
    if (!preferred.empty()) {
        destination_->setEditText(Text(preferred));
        localFolder_->setText(Text(defaultFolder_));
        return;
    }
    if (!remembered_.empty()) {
        destination_->setCurrentIndex(0);
        destinationChosen(0);
    } else {
        destination_->setEditText(QString());
        localFolder_->setText(Text(defaultFolder_));
    }
}

void TFrmUpload::destinationChosen(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= remembered_.size())
        return;
    const upload::RememberedDestination& d = remembered_[static_cast<std::size_t>(index)];
    user_->setText(Text(d.user));
    localFolder_->setText(Text(d.localFolder.empty() ? defaultFolder_ : d.localFolder));
    deleteRemoved_->setChecked(d.deleteRemoved);
    std::optional<std::string> stored = upload::LookupPassword(d.location, d.user);
    password_->setText(stored ? Text(*stored) : QString());
    rememberPassword_->setChecked(stored.has_value());
}

QString TFrmUpload::logText() const { return log_->toPlainText(); }

void TFrmUpload::log(const QString& line) { log_->appendPlainText(line); }

bool TFrmUpload::makeRequest(upload::UploadRequest& request) {
    std::string error;
    std::optional<upload::Destination> destination = upload::ParseDestination(Std(destination_->currentText()), &error);
    if (!destination) {
        ShowError(error);
        return false;
    }
    request.destination = *destination;
    request.localFolder = Std(localFolder_->text());
    if (request.localFolder.empty()) {
        ShowError("No local folder was given.");
        return false;
    }
    request.user = destination->user.empty() ? Std(user_->text()) : destination->user;
    request.password = destination->password.empty() ? password_->text().toStdString() : destination->password;
    request.deleteRemoved = deleteRemoved_->isChecked();
    request.stateFolder = stateFolder_;
    return true;
}

void TFrmUpload::dryRun() {
    if (running())
        return;
    upload::UploadRequest request;
    if (!makeRequest(request))
        return;
    upload::UploadPlan plan = upload::PlanUpload(request);
    log_->clear();
    if (!plan.ok()) {
        ShowError(plan.error);
        return;
    }
    for (const upload::PlannedFile& f : plan.files) {
        if (f.action == upload::FileAction::Send)
            log(QStringLiteral("would send    %1 (%2)").arg(Text(f.path), Bytes(f.size)));
        else if (f.action == upload::FileAction::Delete)
            log(QStringLiteral("would delete  %1").arg(Text(f.path)));
    }
    QString summary = QStringLiteral("Dry run: %1 files would be sent (%2), %3 unchanged")
                          .arg(plan.toSend)
                          .arg(Bytes(plan.bytesToSend))
                          .arg(plan.unchanged);
    if (plan.toDelete > 0)
        summary += QStringLiteral(", %1 would be deleted").arg(plan.toDelete);
    log(summary);
}

void TFrmUpload::startUpload() {
    if (running())
        return;
    upload::UploadRequest request;
    if (!makeRequest(request))
        return;
    upload::UploadPlan plan = upload::PlanUpload(request);
    log_->clear();
    if (!plan.ok()) {
        ShowError(plan.error);
        return;
    }
    if (plan.toDelete > 0) {
        // The files to delete are listed and confirmed before anything is deleted.
        std::string list;
        int shown = 0;
        for (const upload::PlannedFile& f : plan.files) {
            if (f.action != upload::FileAction::Delete)
                continue;
            if (shown++ == 20) {
                list += "... and " + std::to_string(plan.toDelete - 20) + " more\n";
                break;
            }
            list += f.path + "\n";
        }
        for (const upload::PlannedFile& f : plan.files)
            if (f.action == upload::FileAction::Delete)
                log(QStringLiteral("to delete     %1").arg(Text(f.path)));
        ModalResult answer = ShowMessage(MessageKind::Confirmation, kCaption,
                                         "These files were removed here and will be deleted at the destination:\n" +
                                             list + "Delete them?",
                                         BtnYesNoCancel);
        if (answer == ModalResult::Cancel || answer == ModalResult::None)
            return;
        if (answer == ModalResult::No) {
            request.deleteRemoved = false;
            plan = upload::PlanUpload(request);
            if (!plan.ok()) {
                ShowError(plan.error);
                return;
            }
        }
    }
    if (!stateFolder_.empty()) {
        std::string error;
        if (!upload::RememberDestination(stateFolder_, {request.destination.location, request.user,
                                                        request.localFolder, deleteRemoved_->isChecked()},
                                         &error))
            log(QStringLiteral("The destination could not be remembered: ") + Text(error));
    }
    if (request.destination.needsLogin() && rememberPassword_->isEnabled()) {
        if (rememberPassword_->isChecked()) {
            std::string error;
            if (!upload::StorePassword(request.destination.location, request.user, request.password, &error))
                log(QStringLiteral("The password could not be stored: ") + Text(error));
        } else {
            upload::ForgetPassword(request.destination.location, request.user);
        }
    }
    log(QStringLiteral("%1 files to send (%2), %3 unchanged").arg(plan.toSend).arg(Bytes(plan.bytesToSend)).arg(plan.unchanged));
    cancel_ = false;
    setBusy(true);
    progress_->setValue(0);
    bytes_->setText(QString());
    currentFile_->setText(QStringLiteral("Connecting..."));
    observer_ = std::make_unique<Observer>(this, cancel_);
    worker_ = std::thread([this, request, plan, observer = observer_.get()] {
        upload::UploadResult result;
        try {
            std::unique_ptr<upload::Transport> transport = upload::MakeTransport(request);
            result = upload::RunUpload(request, plan, *transport, *observer);
        } catch (const std::exception& e) {
            result.error = e.what();
        }
        QMetaObject::invokeMethod(this, [this, result, request] { finishUpload(result, request); },
                                  Qt::QueuedConnection);
    });
}

void TFrmUpload::cancelUpload() {
    if (!running())
        return;
    cancel_ = true;
    cancelButton_->setEnabled(false);
    currentFile_->setText(QStringLiteral("Stopping..."));
}

void TFrmUpload::setBusy(bool busy) {
    for (QWidget* w : {static_cast<QWidget*>(localFolder_), static_cast<QWidget*>(destination_),
                       static_cast<QWidget*>(user_), static_cast<QWidget*>(password_),
                       static_cast<QWidget*>(deleteRemoved_), static_cast<QWidget*>(dryRunButton_),
                       static_cast<QWidget*>(uploadButton_), static_cast<QWidget*>(closeButton_)})
        w->setEnabled(!busy);
    rememberPassword_->setEnabled(!busy && upload::SecretStoreAvailable());
    cancelButton_->setEnabled(busy);
}

void TFrmUpload::showProgress(const QString& file, quint64 fileDone, quint64 fileSize, quint64 allDone,
                              quint64 allSize) {
    progress_->setValue(allSize == 0 ? kProgressSteps
                                     : static_cast<int>(static_cast<double>(allDone) * kProgressSteps /
                                                        static_cast<double>(allSize)));
    bytes_->setText(QStringLiteral("%1: %2 of %3   (all files: %4 of %5)")
                        .arg(file, Bytes(fileDone), Bytes(fileSize), Bytes(allDone), Bytes(allSize)));
}

void TFrmUpload::fileFinished(const QString& line) { log(line); }

void TFrmUpload::finishUpload(const upload::UploadResult& result, const upload::UploadRequest&) {
    if (worker_.joinable())
        worker_.join();
    observer_.reset();
    lastResult_ = result;
    setBusy(false);
    currentFile_->setText(QString());
    if (result.ok())
        progress_->setValue(kProgressSteps);
    QString summary = Text(upload::Summary(result));
    if (result.cancelled)
        summary = QStringLiteral("Cancelled: ") + summary;
    log(summary);
    if (!result.error.empty())
        ShowError(result.error);
    Q_EMIT uploadFinished();
}

void TFrmUpload::closeEvent(QCloseEvent* event) {
    if (running()) {
        // The window stays until the transfer has stopped cleanly.
        cancelUpload();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFrmUpload::reject() {
    if (running()) {
        cancelUpload();
        return;
    }
    QDialog::reject();
}

}  // namespace vlr::webpost
