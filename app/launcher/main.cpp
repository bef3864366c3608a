// The program as the user starts it. What needs no window (the site build,
// the usage, the version, a usage mistake) runs here, in a program that
// loads nothing of Qt but its core: a build from a script or a makefile
// starts in a few milliseconds instead of loading the whole window toolkit
// and the browser engine. Every other start becomes the window program
// beside this one, with the same arguments and the same process.
#include "app/cli/CommandLine.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/TerminalText.h"
#include "platform/System.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The window program's file name, in the launcher's own folder.
constexpr const char* kWindowProgram = "velora-gui";

}  // namespace

int main(int argc, char** argv) {
    const vlr::cli::StartRequest start =
        vlr::cli::ReadStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (const int code = vlr::cli::RunWithoutToolkit(start); code >= 0)
        return code;
    // Only the window program beside this one: never one found through the
    // working folder or the search path.
    const std::string folder = vlr::ProgramDir();
    if (folder.empty()) {
        std::fprintf(stderr, "velora: cannot find the program's own folder (/proc/self/exe cannot be read)\n");
        return vlr::cli::kExitFailed;
    }
    const std::string window = folder + kWindowProgram;
    ::execv(window.c_str(), argv);
    std::fprintf(stderr, "velora: cannot start the window program %s: %s\n",
                 vlr::cli::TerminalText(window).c_str(), std::strerror(errno));
    return vlr::cli::kExitFailed;
}
