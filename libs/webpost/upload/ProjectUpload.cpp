#include "libs/webpost/upload/ProjectUpload.h"

#include "libs/webpost/upload/UploadState.h"
#include "platform/IniFile.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace vlr::upload {

bool ReadProjectUploadInfo(const std::string& projectFile, ProjectUploadInfo& info, std::string* error) {
    std::error_code ec;
    fs::path project = fs::absolute(projectFile, ec);
    if (ec || !fs::is_regular_file(project, ec)) {
        if (error)
            *error = "The project file " + projectFile + " does not exist.";
        return false;
    }
    info.projectFile = project.lexically_normal().string();
    std::string out = IniFile(info.projectFile).ReadString("directories", "out", "");
    if (!out.empty())
        out = (project.parent_path() / out).lexically_normal().string();
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    info.outputDir = out;
    info.stateFolder = StateFolderFor(info.projectFile);
    return true;
}

}  // namespace vlr::upload
