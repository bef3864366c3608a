// What a start of the program is asked to do, read from its arguments before
// anything else is made: the window with files to open, a command run
// without a window (build, upload), the usage or the version, or a mistake.
#pragma once

#include <string>
#include <vector>

namespace vlr::cli {

struct StartRequest {
    enum class Mode { Window, Help, Version, Build, Upload, Check, BadUsage };
    Mode mode = Mode::Window;
    // Mode::Window: the files to open, absolute and cleaned, made so against
    // the working folder at the start (opening a project changes it).
    std::vector<std::string> files;
    // Mode::Window: start fully, then close as the user would (checks of an
    // installation). Such a start never takes over the running program's socket.
    bool quitAfterStart = false;
    // Mode::Build, Mode::Upload and Mode::Check: the arguments for the command, the
    // command's own option first ("--build PROJECT ..."), the program name left out.
    std::vector<std::string> commandArguments;
    // Mode::BadUsage: what is wrong, one line without the program name.
    std::string error;
};

// Reads the arguments (without the program name). "--" ends the options:
// every argument after it is a file, even one starting with "-".
[[nodiscard]] StartRequest ReadStartArguments(const std::vector<std::string>& arguments);

// The usage: every option that works, in one text. Ends with a line break.
[[nodiscard]] std::string UsageText();
// "velora VERSION" with a line break.
[[nodiscard]] std::string VersionText();

// Makes a path absolute against the current working folder and cleans it
// ("a/../b" is "b", no "//" or trailing "/"); "" stays "".
[[nodiscard]] std::string AbsolutePath(const std::string& path);

// Runs a start that needs neither a window nor more than the site build:
// --help, --version, a usage mistake and --build. Returns the exit code, or
// -1 when the start needs more (the window, --upload, --check).
[[nodiscard]] int RunWithoutToolkit(const StartRequest& request);
// For a command's start: when the project it names cannot be read, says so
// and returns the exit code; otherwise -1.
[[nodiscard]] int CheckCommandProject(const StartRequest& request);
// Runs a start that needs no window and no Qt application: --help,
// --version, a usage mistake, --build, --upload and --check. Returns the exit code, or
// -1 when the start is for the window.
[[nodiscard]] int RunWithoutWindow(const StartRequest& request);

}  // namespace vlr::cli
