#include "libs/webpost/upload/SiteFiles.h"

#include "libs/webpost/upload/PublishRules.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <utility>

namespace fs = std::filesystem;

namespace vlr::upload {
namespace {

using FolderId = std::pair<dev_t, ino_t>;

// The regular files under a folder left out whole, links not followed.
int CountFiles(const fs::path& folder) {
    int count = 0;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (!it->is_directory(fileEc) || it->is_symlink(fileEc))
            ++count;
    }
    return count;
}

class Walker {
public:
    explicit Walker(const fs::path& root) : root_(root) {}

    void walk(const fs::path& dir, const std::string& relative, std::vector<FolderId>& chain) {
        std::error_code ec;
        fs::directory_iterator it(dir, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            const std::string path = relative.empty() ? name : relative + "/" + name;
            visit(it->path(), name, path, chain);
            if (!listing.error.empty())
                return;
        }
        if (ec)
            listing.error = "Cannot list " + dir.string() + ": " + ec.message();
    }

    SiteListing listing;

private:
    void leaveOut(const std::string& path, const std::string& why, int files = 1) {
        listing.leftOut.push_back({path, why, files});
    }

    void visit(const fs::path& entry, const std::string& name, const std::string& path,
               std::vector<FolderId>& chain) {
        struct stat own {};
        if (::lstat(entry.c_str(), &own) != 0)
            return;  // gone while listing
        const bool link = S_ISLNK(own.st_mode);
        struct stat target {};
        const bool reachable = ::stat(entry.c_str(), &target) == 0;
        const bool folder = reachable && S_ISDIR(target.st_mode);
        if (!MayBePublished(name)) {
            if (folder && !link)
                leaveOut(path + "/", "private folder", CountFiles(entry));
            else
                leaveOut(folder ? path + "/" : path, "private file");
            return;
        }
        if (link) {
            if (!reachable) {
                leaveOut(path, "link to nothing");
                return;
            }
            if (!LiesInsideFolder(entry.string(), root_.string())) {
                leaveOut(folder ? path + "/" : path, "link outside the site");
                return;
            }
        }
        if (folder) {
            const FolderId id{target.st_dev, target.st_ino};
            if (std::find(chain.begin(), chain.end(), id) != chain.end()) {
                leaveOut(path + "/", "link back into a folder it lies in");
                return;
            }
            chain.push_back(id);
            walk(entry, path, chain);
            chain.pop_back();
            return;
        }
        if (reachable && S_ISREG(target.st_mode))
            listing.files.push_back({path, entry.string()});
        else if (reachable)
            leaveOut(path, "not a regular file");
    }

    fs::path root_;
};

}  // namespace

SiteListing ListSiteFiles(const std::string& folder) {
    Walker walker{fs::path(folder)};
    struct stat rootStat {};
    if (::stat(folder.c_str(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode)) {
        walker.listing.error = "The folder " + folder + " does not exist.";
        return walker.listing;
    }
    std::vector<FolderId> chain{{rootStat.st_dev, rootStat.st_ino}};
    walker.walk(fs::path(folder), "", chain);
    auto byPath = [](const auto& a, const auto& b) { return a.path < b.path; };
    std::sort(walker.listing.files.begin(), walker.listing.files.end(), byPath);
    std::sort(walker.listing.leftOut.begin(), walker.listing.leftOut.end(), byPath);
    return walker.listing;
}

}  // namespace vlr::upload
