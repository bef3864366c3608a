// The starts without a window that need more than the site build: the check
// and the upload.
#include "app/cli/CommandLine.h"

#include "app/cli/CommandLineCheck.h"
#include "app/cli/TerminalText.h"
#include "app/cli/UploadCommand.h"

#include <iostream>

namespace vlr::cli {

int RunWithoutWindow(const StartRequest& request) {
    if (const int code = RunWithoutToolkit(request); code >= 0 || request.mode == StartRequest::Mode::Window)
        return code;
    if (const int code = CheckCommandProject(request); code >= 0)
        return code;
    const std::vector<std::string>& args = request.commandArguments;
    if (request.mode == StartRequest::Mode::Check)
        return RunCommandLineCheck(args);
    // Names of files and servers' answers are printed line by line,
    // escaped, so that none can drive the terminal.
    TerminalLines out(std::cout), err(std::cerr);
    return RunUploadCommand(args, out, err);
}

}  // namespace vlr::cli
