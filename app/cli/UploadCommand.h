// `velora --upload project.vlr [--to URL-or-folder] [--dry-run] [--user NAME]
// [--delete]`: uploads a project's output folder without opening a window.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vlr::cli {

// True when the command line asks for an upload.
bool WantsUpload(int argc, char** argv);

// Exit codes: 0 success, 1 the upload failed or was refused by the server,
// 2 the command line or the project is wrong.
enum UploadExit { kUploadOk = 0, kUploadFailed = 1, kUploadUsage = 2 };

// Runs the upload; lines about files go to out, problems to err. The password
// comes from VELORA_UPLOAD_PASSWORD, the secret store, or the terminal.
int RunUploadCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunUploadCommand(int argc, char** argv);

}  // namespace vlr::cli
