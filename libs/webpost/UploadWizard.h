// TFrmUpload: the upload wizard. It uploads a local folder (the open
// project's output folder by default) to a folder or a server, sending only
// the files changed since the last upload there, with a dry run, optional
// deletion of files removed locally, a progress bar and a cancel button.
// The transfer runs on a worker thread so that the window stays responsive.
#pragma once

#include "libs/webpost/upload/UploadEngine.h"
#include "libs/webpost/upload/UploadState.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vlr::webpost {

class TFrmUpload : public QDialog {
    Q_OBJECT

public:
    // projectFile "" or "none" when no project is open; localFolder and
    // destination, when not empty, are taken instead of the remembered ones.
    TFrmUpload(const std::string& projectFile, const std::string& localFolder, const std::string& destination,
               QWidget* parent = nullptr);
    ~TFrmUpload() override;

    bool running() const { return worker_.joinable(); }
    // The outcome of the last upload (not of a dry run).
    const upload::UploadResult& lastResult() const { return lastResult_; }
    QString logText() const;

    // Lists what an upload would do, changing nothing.
    void dryRun();
    // Starts the upload; it goes on after the call returns.
    void startUpload();
    // Asks a running upload to stop after the current block of bytes.
    void cancelUpload();

Q_SIGNALS:
    void uploadFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    class Observer;
    void build();
    void fillDestinations(const std::string& preferred);
    void destinationChosen(int index);
    bool makeRequest(upload::UploadRequest& request);
    void log(const QString& line);
    void setBusy(bool busy);
    void showProgress(const QString& file, quint64 fileDone, quint64 fileSize, quint64 allDone, quint64 allSize);
    void fileFinished(const QString& line);
    void finishUpload(const upload::UploadResult& result, const upload::UploadRequest& request);

    std::string stateFolder_;
    std::string defaultFolder_;
    std::vector<upload::RememberedDestination> remembered_;

    QLineEdit* localFolder_ = nullptr;
    QComboBox* destination_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* rememberPassword_ = nullptr;
    QCheckBox* deleteRemoved_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* currentFile_ = nullptr;
    QLabel* bytes_ = nullptr;
    QPushButton* dryRunButton_ = nullptr;
    QPushButton* uploadButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::unique_ptr<Observer> observer_;
    upload::UploadResult lastResult_;
};

}  // namespace vlr::webpost
