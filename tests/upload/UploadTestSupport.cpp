#include "UploadTestSupport.h"

#include "libs/webpost/upload/UploadState.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <cstdlib>
#include <unistd.h>

namespace fs = std::filesystem;

namespace uploadtest {
namespace {

// The tests keep the upload records in a configuration folder of their own,
// never in the user's.
struct PrivateConfigHome {
    PrivateConfigHome() {
        std::string pattern = (fs::temp_directory_path() / "velora-upload-config-XXXXXX").string();
        if (::mkdtemp(pattern.data())) {
            dir = pattern;
            ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        }
    }
    ~PrivateConfigHome() {
        std::error_code ec;
        if (!dir.empty())
            fs::remove_all(dir, ec);
    }
    std::string dir;
};
const PrivateConfigHome gConfigHome;

}  // namespace

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& contents) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

bool Exists(const std::string& path) { return fs::exists(path); }

std::vector<std::string> FilesUnder(const std::string& folder) {
    std::vector<std::string> out;
    if (!fs::exists(folder))
        return out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            out.push_back(e.path().lexically_relative(folder).generic_string());
    std::sort(out.begin(), out.end());
    return out;
}

Site::Site() {
    WriteFile(project(), "[directories]\nsrc=src\nout=out\n");
    fs::create_directories(root() + "out");
}

std::string Site::state() const { return vlr::upload::StateFolderFor(project()); }

std::string Site::root() const { return dir_.path().toStdString() + "/"; }

vlr::upload::UploadResult Upload(const vlr::upload::UploadRequest& request, RecordingObserver& observer) {
    vlr::upload::UploadPlan plan = vlr::upload::PlanUpload(request);
    std::unique_ptr<vlr::upload::Transport> transport = vlr::upload::MakeTransport(request);
    return vlr::upload::RunUpload(request, plan, *transport, observer);
}

vlr::upload::UploadRequest FolderRequest(const Site& site) {
    vlr::upload::UploadRequest r;
    r.localFolder = site.out();
    r.destination = *vlr::upload::ParseDestination(site.dest());
    r.stateFolder = site.state();
    return r;
}

}  // namespace uploadtest
