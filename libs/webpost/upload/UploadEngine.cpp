#include "libs/webpost/upload/UploadEngine.h"

#include "libs/webpost/upload/ContentHash.h"
#include "libs/webpost/upload/CurlTransport.h"
#include "libs/webpost/upload/FolderTransport.h"
#include "libs/webpost/upload/PublishRules.h"
#include "libs/webpost/upload/UploadState.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace vlr::upload {
namespace {

// Hashes are written out every so often during a long upload, so that even a
// killed program loses only the record of the last few files.
constexpr auto kSaveInterval = std::chrono::seconds(5);

class FileProgress : public TransferProgress {
public:
    FileProgress(UploadObserver& observer, std::uint64_t before, std::uint64_t all)
        : observer_(observer), before_(before), all_(all) {}
    bool bytesSent(std::uint64_t done, std::uint64_t total) override {
        observer_.bytesSent(done, total, before_ + done, all_);
        return !observer_.cancelRequested();
    }

private:
    UploadObserver& observer_;
    std::uint64_t before_;
    std::uint64_t all_;
};

// The record of what arrived is kept per destination and per user actually
// logged in as, whether the name came with the address or separately.
Destination RecordKey(const UploadRequest& request) {
    Destination key = request.destination;
    key.user = request.user;
    key.password.clear();
    return key;
}

}  // namespace

UploadPlan PlanUpload(const UploadRequest& request) {
    UploadPlan plan;
    std::error_code ec;
    fs::path root(request.localFolder);
    if (request.localFolder.empty() || !fs::is_directory(root, ec)) {
        plan.error = "The folder " + request.localFolder + " does not exist.";
        return plan;
    }
    // A destination inside the uploaded folder would upload itself again and again.
    if (request.destination.isFolder()) {
        std::string local = fs::weakly_canonical(root, ec).string() + "/";
        std::string target = fs::weakly_canonical(request.destination.location, ec).string() + "/";
        if (target.rfind(local, 0) == 0 || local.rfind(target, 0) == 0) {
            plan.error = "The destination folder may not lie inside the uploaded folder or contain it.";
            return plan;
        }
    }
    HashStore store(request.stateFolder, RecordKey(request));
    std::vector<PlannedFile> sends, same;
    std::set<std::string> present;
    SiteListing listing = ListSiteFiles(request.localFolder);
    if (!listing.error.empty()) {
        plan.error = listing.error;
        return plan;
    }
    for (const SiteFile& file : listing.files) {
        if (!IsSafeRelativePath(file.path)) {
            plan.error = "The file name \"" + PrintablePath(file.path) +
                         "\" cannot be uploaded (it holds a backslash or a control character).";
            return plan;
        }
        std::string why;
        std::optional<std::string> hash = HashFile(file.local, &why);
        if (!hash) {
            plan.error = why;
            return plan;
        }
        std::error_code sizeEc;
        const auto size = fs::file_size(file.local, sizeEc);
        PlannedFile f{file.path, FileAction::Send, sizeEc ? 0 : static_cast<std::uint64_t>(size), *hash};
        present.insert(file.path);
        const std::string* sentHash = store.find(file.path);
        if (sentHash && *sentHash == f.hash) {
            f.action = FileAction::Unchanged;
            same.push_back(std::move(f));
        } else {
            plan.bytesToSend += f.size;
            sends.push_back(std::move(f));
        }
    }
    plan.leftOut = std::move(listing.leftOut);
    for (const LeftOutFile& left : plan.leftOut)
        plan.leftOutFiles += left.files;
    auto byPath = [](const PlannedFile& a, const PlannedFile& b) { return a.path < b.path; };
    std::sort(sends.begin(), sends.end(), byPath);
    std::sort(same.begin(), same.end(), byPath);
    plan.toSend = static_cast<int>(sends.size());
    plan.unchanged = static_cast<int>(same.size());
    plan.files = std::move(sends);
    plan.files.insert(plan.files.end(), same.begin(), same.end());
    if (request.deleteRemoved) {
        for (const auto& [path, hash] : store.entries()) {
            if (present.count(path))
                continue;
            plan.files.push_back({path, FileAction::Delete, 0, {}});
            ++plan.toDelete;
        }
    }
    return plan;
}

UploadResult RunUpload(const UploadRequest& request, const UploadPlan& plan, Transport& transport,
                       UploadObserver& observer) {
    UploadResult result;
    result.unchanged = plan.unchanged;
    if (!plan.ok()) {
        result.error = plan.error;
        return result;
    }
    if (plan.toSend == 0 && plan.toDelete == 0)
        return result;
    if (!transport.open(result.error))
        return result;
    HashStore store(request.stateFolder, RecordKey(request));
    auto lastSave = std::chrono::steady_clock::now();
    auto keep = [&](bool always) {
        if (!always && std::chrono::steady_clock::now() - lastSave < kSaveInterval)
            return;
        std::string why;
        if (!store.save(&why) && result.error.empty())
            result.error = "The record of the files sent could not be written: " + why;
        lastSave = std::chrono::steady_clock::now();
    };
    const int count = plan.toSend + plan.toDelete;
    int number = 0;
    std::uint64_t before = 0;
    const fs::path root(request.localFolder);
    for (const PlannedFile& file : plan.files) {
        if (file.action == FileAction::Unchanged)
            continue;
        if (observer.cancelRequested()) {
            result.cancelled = true;
            break;
        }
        observer.fileStarted(file, ++number, count);
        std::string error;
        if (file.action == FileAction::Send) {
            FileProgress progress(observer, before, plan.bytesToSend);
            bool cancelled = false;
            // A file that changed since the plan was made is sent as it is now,
            // but recorded only with the hash of what was sent.
            const std::string local = (root / file.path).string();
            // A link changed since the plan was made must still not lead out.
            std::optional<std::string> hashNow;
            if (!LiesInsideFolder(local, request.localFolder))
                error = "it now lies outside " + request.localFolder;
            else
                hashNow = HashFile(local, &error);
            const bool ok = hashNow && transport.put(local, file.path, file.size, progress, cancelled, error);
            observer.fileFinished(file, ok, error);
            if (!ok) {
                result.cancelled = cancelled;
                if (!cancelled)
                    result.error = "Could not send " + file.path + ": " + error;
                else if (error != kCancelled)
                    result.error = error;  // what the cancel left behind
                break;
            }
            std::optional<std::string> hashAfter = HashFile(local);
            // Recorded only when the bytes did not change while they were sent.
            if (hashAfter && *hashAfter == *hashNow)
                store.set(file.path, *hashAfter);
            else
                store.erase(file.path);
            before += file.size;
            ++result.sent;
        } else {
            const bool ok = transport.remove(file.path, error);
            observer.fileFinished(file, ok, error);
            if (!ok) {
                result.error = error;
                break;
            }
            store.erase(file.path);
            ++result.deleted;
        }
        keep(false);
    }
    keep(true);
    return result;
}

std::unique_ptr<Transport> MakeTransport(const UploadRequest& request) {
    if (request.destination.isFolder())
        return std::make_unique<FolderTransport>(request.destination.location);
    return std::make_unique<CurlTransport>(request.destination, request.user, request.password,
                                           CurlSecurity{request.caFile, request.knownHostsFile, request.sshKeyFile});
}

std::string Summary(const UploadResult& result) {
    std::string s = std::to_string(result.sent) + " files sent, " +
                    std::to_string(result.unchanged) + " unchanged";
    if (result.deleted > 0)
        s += ", " + std::to_string(result.deleted) + " deleted";
    return s;
}

}  // namespace vlr::upload
