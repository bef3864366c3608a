// What an upload takes from a project file: the output folder (the folder
// uploaded by default), and the project's state folder in the user's own
// folder (StateFolderFor).
#pragma once

#include <string>

namespace vlr::upload {

struct ProjectUploadInfo {
    std::string projectFile;  // absolute
    std::string outputDir;    // absolute, "" when the project names none
    std::string stateFolder;
};

// Reads the project's "directories"/"out" key; a relative output folder is
// taken from the project file's folder. False with a reason when the project
// file does not exist.
bool ReadProjectUploadInfo(const std::string& projectFile, ProjectUploadInfo& info, std::string* error = nullptr);

}  // namespace vlr::upload
