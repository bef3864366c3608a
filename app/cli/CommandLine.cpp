#include "app/cli/CommandLine.h"

#include "app/cli/CommandLineBuild.h"
#include "app/cli/ExitCodes.h"
#include "app/cli/TerminalText.h"
#include "platform/System.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace vlr::cli {
namespace {

const char* const kUsage =
    "usage: velora [FILE...]\n"
    "       velora --build PROJECT.vlr [--trust]\n"
    "       velora --check PROJECT.vlr [--trust] [--format text|json]\n"
    "       velora --upload PROJECT.vlr [--to DESTINATION] [--user NAME] [--dry-run] [--delete]\n"
    "       velora --help | --version\n"
    "\n"
    "Without an option, opens the files (pages, pictures, projects \".vlr\") in the\n"
    "window; when Velora already runs for this user, it opens them there.\n"
    "\n"
    "  --build PROJECT.vlr   build the project's site, without a window\n"
    "  --check PROJECT.vlr   build every page in memory and check its HTML, accessibility\n"
    "                        and local links; each problem as FILE:LINE:COL: error|warning:\n"
    "                        message, exit status 1 when there are errors\n"
    "  --format text|json    with --check: the problems as lines (text) or as JSON\n"
    "  --trust               with --build or --check: let the project use includes and an\n"
    "                        output folder that lie outside its own folders\n"
    "  --upload PROJECT.vlr  send the project's output folder, without a window\n"
    "  --to DESTINATION      with --upload: ftp://, ftps://, ftpes:// or sftp:// address,\n"
    "                        or a folder; without it, the destination used last\n"
    "  --user NAME           with --upload: the user name to log in with\n"
    "  --dry-run             with --upload: list what would be sent or deleted, send nothing\n"
    "  --delete              with --upload: delete the files the site no longer has\n"
    "  --help                show this text and exit\n"
    "  --version             show the version and exit\n"
    "  --                    every argument after it is a file, even one starting with \"-\"\n"
    "\n"
    "The upload's password comes from VELORA_UPLOAD_PASSWORD, the desktop's password\n"
    "store, or is asked for on the terminal.\n"
    "\n"
    "Exit status: 0 done, 1 the work failed, 2 bad usage or a missing project.\n";

// Options that belong to a command, and the command they belong to.
const char* commandOf(const std::string& option) {
    if (option == "--trust")
        return "--build or --check";
    if (option == "--format")
        return "--check";
    if (option == "--to" || option == "--user" || option == "--dry-run" || option == "--delete")
        return "--upload";
    return nullptr;
}

// The command's own option and its value first, the other arguments after
// them in their order.
std::vector<std::string> commandFirst(const std::vector<std::string>& arguments, std::size_t at) {
    std::vector<std::string> ordered{arguments[at]};
    if (at + 1 < arguments.size())
        ordered.push_back(arguments[at + 1]);
    for (std::size_t i = 0; i < arguments.size(); ++i)
        if (i != at && i != at + 1)
            ordered.push_back(arguments[i]);
    return ordered;
}

// Qt's own options for every Qt program (the window system, the style...),
// which the application object reads itself: with their value, if any.
int qtOptionLength(const std::string& a) {
    for (const char* withValue : {"-platform", "-platformtheme", "-platformpluginpath", "-style", "-stylesheet",
                                  "-display", "-geometry", "-qwindowgeometry", "-qwindowtitle", "-qwindowicon"})
        if (a == withValue)
            return 2;
    return a == "-reverse" ? 1 : 0;
}

StartRequest badUsage(std::string error) {
    StartRequest r;
    r.mode = StartRequest::Mode::BadUsage;
    r.error = std::move(error);
    return r;
}

// A project named for a command must be a file that can be read; otherwise
// the command is not run at all.
bool projectReadable(const std::string& path, std::string& why) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        why = errno == ENOENT ? "it does not exist" : std::strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        why = "it is a folder";
        return false;
    }
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return true;
    }
    why = std::strerror(errno);
    return false;
}

}  // namespace

std::string UsageText() { return kUsage; }

std::string VersionText() { return "velora " + VersionValue("FileVersion") + "\n"; }

std::string AbsolutePath(const std::string& path) {
    if (path.empty())
        return path;
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec)
        absolute = path;
    std::string clean = absolute.lexically_normal().string();
    while (clean.size() > 1 && clean.back() == '/')
        clean.pop_back();
    return clean;
}

StartRequest ReadStartArguments(const std::vector<std::string>& arguments) {
    // --help and --version answer whatever else is given; they are looked for first.
    bool help = false, version = false;
    for (const std::string& a : arguments) {
        if (a == "--")
            break;
        help = help || a == "--help" || a == "-h";
        version = version || a == "--version";
    }
    if (help || version) {
        StartRequest r;
        r.mode = help ? StartRequest::Mode::Help : StartRequest::Mode::Version;
        return r;
    }

    const std::size_t none = arguments.size();
    std::size_t build = none, upload = none, check = none;
    for (std::size_t i = 0; i < arguments.size() && arguments[i] != "--"; ++i) {
        if (arguments[i] == "--build" && build == none)
            build = i;
        else if (arguments[i] == "--upload" && upload == none)
            upload = i;
        else if (arguments[i] == "--check" && check == none)
            check = i;
    }
    if (build < none && upload < none)
        return badUsage("--build and --upload cannot be given together");
    if (check < none && (build < none || upload < none))
        return badUsage(std::string("--check and ") + (build < none ? "--build" : "--upload") +
                        " cannot be given together");
    if (build < none || upload < none || check < none) {
        StartRequest r;
        r.mode = check < none    ? StartRequest::Mode::Check
                 : build < none  ? StartRequest::Mode::Build
                                 : StartRequest::Mode::Upload;
        r.commandArguments = commandFirst(arguments, std::min({build, upload, check}));
        return r;
    }

    StartRequest r;
    bool filesOnly = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (const int qt = filesOnly ? 0 : qtOptionLength(a); qt > 0) {
            if (i + std::size_t(qt) > arguments.size())
                return badUsage(a + " needs a value");
            i += std::size_t(qt) - 1;
        } else if (!filesOnly && a == "--") {
            filesOnly = true;
        } else if (!filesOnly && a == "--quit-after-start") {
            r.quitAfterStart = true;
        } else if (!filesOnly && a.size() > 1 && a[0] == '-') {
            if (const char* command = commandOf(a))
                return badUsage(a + " is only used with " + command);
            return badUsage("unknown option " + a);
        } else if (!a.empty()) {
            r.files.push_back(AbsolutePath(a));
        }
    }
    return r;
}

int CheckCommandProject(const StartRequest& request) {
    const std::vector<std::string>& args = request.commandArguments;
    if (args.size() >= 2 && !args[1].empty() && args[1][0] != '-') {
        std::string why;
        if (!projectReadable(args[1], why)) {
            std::cerr << "velora: cannot read the project file " << TerminalText(args[1]) << ": " << why << "\n";
            return kExitUsage;
        }
    }
    return -1;
}

int RunWithoutToolkit(const StartRequest& request) {
    switch (request.mode) {
    case StartRequest::Mode::Window:
    case StartRequest::Mode::Upload:
    case StartRequest::Mode::Check:
        return -1;
    case StartRequest::Mode::Help:
        std::cout << kUsage << std::flush;
        return kExitOk;
    case StartRequest::Mode::Version:
        std::cout << VersionText() << std::flush;
        return kExitOk;
    case StartRequest::Mode::BadUsage:
        std::cerr << "velora: " << TerminalText(request.error) << "\nTry \"velora --help\" for the options.\n";
        return kExitUsage;
    case StartRequest::Mode::Build:
        break;
    }
    if (const int code = CheckCommandProject(request); code >= 0)
        return code;
    std::vector<std::string> all{"velora"};
    all.insert(all.end(), request.commandArguments.begin(), request.commandArguments.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return RunCommandLineBuild(static_cast<int>(all.size()), argv.data());
}

}  // namespace vlr::cli
