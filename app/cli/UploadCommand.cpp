#include "app/cli/UploadCommand.h"

#include "libs/webpost/upload/ProjectUpload.h"
#include "libs/webpost/upload/SecretStore.h"
#include "libs/webpost/upload/UploadEngine.h"
#include "libs/webpost/upload/UploadState.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <termios.h>
#include <unistd.h>

namespace vlr::cli {
namespace {

const char* const kUsage =
    "usage: velora --upload project.vlr [--to URL-or-folder] [--dry-run] [--user NAME] [--delete]\n";

struct Options {
    std::string project;
    std::string to;
    std::string user;
    bool userGiven = false;
    bool dryRun = false;
    bool deleteRemoved = false;
};

std::optional<Options> Parse(const std::vector<std::string>& args, std::string& error) {
    Options o;
    bool sawUpload = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--upload") {
            sawUpload = true;
            if (!value(o.project))
                return std::nullopt;
        } else if (a == "--to") {
            if (!value(o.to))
                return std::nullopt;
        } else if (a == "--user") {
            if (!value(o.user))
                return std::nullopt;
            o.userGiven = true;
        } else if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a == "--delete") {
            o.deleteRemoved = true;
        } else {
            error = "unknown argument " + a;
            return std::nullopt;
        }
    }
    if (!sawUpload || o.project.empty()) {
        error = "no project file given";
        return std::nullopt;
    }
    return o;
}

// Reads a line from the terminal without showing it.
std::optional<std::string> AskPassword(const std::string& prompt) {
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    std::cerr << prompt << std::flush;
    termios old{};
    const bool haveTerm = ::tcgetattr(STDIN_FILENO, &old) == 0;
    if (haveTerm) {
        termios quiet = old;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool ok = static_cast<bool>(std::getline(std::cin, line));
    if (haveTerm)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
    std::cerr << "\n";
    if (!ok)
        return std::nullopt;
    return line;
}

// Prints one line per file as it is sent; Ctrl+C stops after the current block.
volatile std::sig_atomic_t gInterrupted = 0;
void OnInterrupt(int) { gInterrupted = 1; }

class LineObserver : public upload::UploadObserver {
public:
    explicit LineObserver(std::ostream& out) : out_(out) {}
    void fileStarted(const upload::PlannedFile&, int, int) override {}
    void bytesSent(std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t) override {}
    void fileFinished(const upload::PlannedFile& file, bool ok, const std::string& error) override {
        if (ok)
            out_ << (file.action == upload::FileAction::Delete ? "deleted " : "sent ") << file.path << "\n";
        else
            out_ << "failed " << file.path << ": " << error << "\n";
        out_.flush();
    }
    bool cancelRequested() override { return gInterrupted != 0; }

private:
    std::ostream& out_;
};

void PrintLeftOut(const upload::UploadPlan& plan, std::ostream& out) {
    if (plan.leftOutFiles > 0)
        out << "left out: " << plan.leftOutFiles << " files (links outside the site, private files)\n";
}

}  // namespace

bool WantsUpload(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--upload") == 0)
            return true;
    return false;
}

int RunUploadCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    std::optional<Options> options = Parse(args, error);
    if (!options) {
        err << "velora: " << error << "\n" << kUsage;
        return kUploadUsage;
    }
    upload::ProjectUploadInfo project;
    if (!upload::ReadProjectUploadInfo(options->project, project, &error)) {
        err << "velora: " << error << "\n";
        return kUploadUsage;
    }
    if (project.outputDir.empty()) {
        err << "velora: the project " << project.projectFile << " names no output folder.\n";
        return kUploadUsage;
    }
    // Without --to, the destination last used for this project, as the
    // user's own record (never the project's folder) keeps it.
    std::vector<upload::RememberedDestination> remembered = upload::LoadDestinations(project.stateFolder);
    std::string to = options->to;
    std::string user = options->user;
    bool deleteRemoved = options->deleteRemoved;
    if (to.empty()) {
        if (remembered.empty()) {
            err << "velora: no destination given and none used before for this project; use --to.\n";
            return kUploadUsage;
        }
        to = remembered.front().location;
        if (!options->userGiven)
            user = remembered.front().user;
    }
    std::optional<upload::Destination> destination = upload::ParseDestination(to, &error);
    if (!destination) {
        err << "velora: " << error << "\n";
        return kUploadUsage;
    }
    const char* passwordFromEnv = std::getenv("VELORA_UPLOAD_PASSWORD");
    // A password from the environment goes only to a server named on this
    // command line.
    if (passwordFromEnv && options->to.empty() && destination->needsLogin()) {
        err << "velora: VELORA_UPLOAD_PASSWORD is set; name the server it is meant for with --to.\n";
        return kUploadUsage;
    }
    if (!destination->password.empty())
        err << "velora: warning: the password written in the --to address can be seen by other users "
               "in the list of running programs; use VELORA_UPLOAD_PASSWORD instead.\n";
    for (char c : user) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            err << "velora: the user name may not contain a control character.\n";
            return kUploadUsage;
        }
    }
    upload::UploadRequest request;
    request.localFolder = project.outputDir;
    request.destination = *destination;
    request.user = destination->user.empty() ? user : destination->user;
    request.deleteRemoved = deleteRemoved;
    request.stateFolder = project.stateFolder;

    upload::UploadPlan plan = upload::PlanUpload(request);
    if (!plan.ok()) {
        err << "velora: " << plan.error << "\n";
        return kUploadFailed;
    }
    if (options->dryRun) {
        for (const upload::PlannedFile& f : plan.files) {
            if (f.action == upload::FileAction::Send)
                out << "would send " << f.path << "\n";
            else if (f.action == upload::FileAction::Delete)
                out << "would delete " << f.path << "\n";
        }
        for (const upload::LeftOutFile& f : plan.leftOut)
            out << "left out " << upload::PrintablePath(f.path) << " (" << f.why << ")\n";
        out << plan.toSend << " files would be sent, " << plan.unchanged << " unchanged";
        if (plan.toDelete > 0)
            out << ", " << plan.toDelete << " would be deleted";
        out << "\n";
        PrintLeftOut(plan, out);
        return kUploadOk;
    }
    PrintLeftOut(plan, out);
    // Deletions are listed before anything is sent or deleted.
    for (const upload::PlannedFile& f : plan.files)
        if (f.action == upload::FileAction::Delete)
            out << "to delete " << f.path << "\n";

    if (destination->needsLogin() && (plan.toSend > 0 || plan.toDelete > 0)) {
        if (!destination->password.empty()) {
            request.password = destination->password;
        } else if (passwordFromEnv) {
            request.password = passwordFromEnv;
        } else if (request.user.empty()) {
            request.password.clear();
        } else if (auto stored = upload::LookupPassword(destination->location, request.user)) {
            request.password = *stored;
        } else if (auto typed = AskPassword("Password for " + request.user + " at " + destination->location + ": ")) {
            request.password = *typed;
        } else if (destination->kind == upload::DestinationKind::Sftp) {
            request.password.clear();  // the user's ssh key logs in
        } else {
            err << "velora: no password for " << request.user
                << "; set VELORA_UPLOAD_PASSWORD or run from a terminal.\n";
            return kUploadUsage;
        }
    }

    gInterrupted = 0;
    auto oldHandler = std::signal(SIGINT, OnInterrupt);
    LineObserver observer(out);
    upload::UploadResult result;
    try {
        std::unique_ptr<upload::Transport> transport = upload::MakeTransport(request);
        result = upload::RunUpload(request, plan, *transport, observer);
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    std::signal(SIGINT, oldHandler);
    out << upload::Summary(result) << "\n";
    if (result.cancelled) {
        err << "velora: the upload was interrupted.\n";
        if (!result.error.empty())
            err << "velora: " << result.error << "\n";
        return kUploadFailed;
    }
    if (!result.error.empty()) {
        err << "velora: " << result.error << "\n";
        return kUploadFailed;
    }
    upload::RememberDestination(project.stateFolder,
                                {request.destination.location, request.user, request.localFolder, deleteRemoved},
                                &error);
    return kUploadOk;
}

int RunUploadCommand(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunUploadCommand(args, std::cout, std::cerr);
}

}  // namespace vlr::cli
