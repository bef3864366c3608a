// The upload of a folder to a destination: which files changed since the last
// upload there (by content hash), which were deleted locally, and sending
// them with progress, cancel and a record of what arrived whole.
#pragma once

#include "libs/webpost/upload/Destination.h"
#include "libs/webpost/upload/SiteFiles.h"
#include "libs/webpost/upload/Transport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vlr::upload {

struct UploadRequest {
    std::string localFolder;
    Destination destination;
    std::string user;
    std::string password;
    // Delete, at the destination, the files sent there earlier that no longer
    // exist locally.
    bool deleteRemoved = false;
    // Where the hashes are kept (StateFolderFor); empty keeps none, so every
    // file counts as changed. They are kept per destination and user.
    std::string stateFolder;
    // Certificates of the authorities trusted for ftps:// and ftpes://; empty
    // uses the system's.
    std::string caFile;
    // The hosts whose keys are known, for sftp://; empty is
    // ~/.ssh/known_hosts. Without it no SFTP connection is made.
    std::string knownHostsFile;
    // The private key offered to an SFTP server; empty tries ~/.ssh/id_ed25519,
    // id_ecdsa and id_rsa.
    std::string sshKeyFile;
};

enum class FileAction { Send, Unchanged, Delete };

struct PlannedFile {
    std::string path;  // relative to the local folder and the destination
    FileAction action = FileAction::Send;
    std::uint64_t size = 0;
    std::string hash;  // of the local file; empty for deletions
};

struct UploadPlan {
    std::vector<PlannedFile> files;  // sends first (by path), then unchanged, then deletions
    std::vector<LeftOutFile> leftOut;  // by path
    int leftOutFiles = 0;
    int toSend = 0;
    int unchanged = 0;
    int toDelete = 0;
    std::uint64_t bytesToSend = 0;
    std::string error;  // the plan could not be made
    bool ok() const { return error.empty(); }
};

// Lists the local folder and compares it with the hashes kept for the
// destination. Private files (MayBePublished) and whatever a link takes
// outside the folder are left out and listed in leftOut; a link back into a
// folder it lies in is not followed again. Files whose names cannot be sent
// safely (backslashes, control characters) are an error, so that nothing is
// left out silently.
UploadPlan PlanUpload(const UploadRequest& request);

// Told what happens during RunUpload. All calls come from the thread that
// runs it.
class UploadObserver {
public:
    virtual ~UploadObserver() = default;
    virtual void fileStarted(const PlannedFile& file, int number, int count) = 0;
    virtual void bytesSent(std::uint64_t fileDone, std::uint64_t fileSize, std::uint64_t allDone,
                           std::uint64_t allSize) = 0;
    // ok false: error holds why (or "Cancelled.").
    virtual void fileFinished(const PlannedFile& file, bool ok, const std::string& error) = 0;
    virtual bool cancelRequested() = 0;
};

struct UploadResult {
    int sent = 0;
    int unchanged = 0;
    int deleted = 0;
    bool cancelled = false;
    std::string error;
    bool ok() const { return error.empty() && !cancelled; }
};

// Carries out a plan: connects, sends the files to send, then deletes the
// files to delete. It stops at the first failure or when cancelled; the hashes
// of the files that arrived whole (and the deletions done) are kept whatever
// the outcome.
UploadResult RunUpload(const UploadRequest& request, const UploadPlan& plan, Transport& transport,
                       UploadObserver& observer);

// The transport for a request's destination (a folder or a server).
std::unique_ptr<Transport> MakeTransport(const UploadRequest& request);

// "N files sent, M unchanged" (with ", K deleted" when files were deleted).
std::string Summary(const UploadResult& result);

}  // namespace vlr::upload
