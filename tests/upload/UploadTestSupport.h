// Helpers of the upload tests: a temporary site with files, reading files
// back, and an observer that records what the engine reports.
#pragma once

#include "libs/webpost/upload/UploadEngine.h"

#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

namespace uploadtest {

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);
bool Exists(const std::string& path);
// Every regular file under a folder, relative and sorted.
std::vector<std::string> FilesUnder(const std::string& folder);

// A project with an output folder "out/" and a folder to upload to.
class Site {
public:
    Site();
    std::string root() const;  // with a trailing "/"
    std::string project() const { return root() + "site.vlr"; }
    std::string out(const std::string& path = "") const { return root() + "out/" + path; }
    std::string dest(const std::string& path = "") const { return root() + "dest/" + path; }
    // Where the upload keeps its record for the project (the user's folder).
    std::string state() const;
    void put(const std::string& path, const std::string& contents) { WriteFile(out(path), contents); }

private:
    QTemporaryDir dir_;
};

class RecordingObserver : public vlr::upload::UploadObserver {
public:
    void fileStarted(const vlr::upload::PlannedFile& file, int, int) override { started.push_back(file.path); }
    void bytesSent(std::uint64_t fileDone, std::uint64_t, std::uint64_t, std::uint64_t) override {
        if (onBytes)
            onBytes(fileDone);
    }
    void fileFinished(const vlr::upload::PlannedFile& file, bool ok, const std::string&) override {
        (ok ? finished : failed).push_back(file.path);
    }
    bool cancelRequested() override { return cancel; }

    std::vector<std::string> started, finished, failed;
    bool cancel = false;
    std::function<void(std::uint64_t)> onBytes;
};

// Plans and runs one upload of the site's output folder.
vlr::upload::UploadResult Upload(const vlr::upload::UploadRequest& request, RecordingObserver& observer);
vlr::upload::UploadRequest FolderRequest(const Site& site);

}  // namespace uploadtest
