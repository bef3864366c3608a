// The command-line site build.
#include "app/cli/CommandLineBuild.h"

#include "app/cli/TerminalText.h"
#include "project/build/SiteBuild.h"
#include "project/build/SystemEnvironment.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace vlr {
namespace {

constexpr const char* kOption = "--build";
constexpr const char* kTrustOption = "--trust";

// Prints problems as they come and, on a terminal, one progress line that
// each file overwrites.
class TerminalReporter : public build::BuildReporter {
public:
    TerminalReporter() : terminal_(::isatty(STDERR_FILENO) == 1) {}

    void FileCount(int count) override { total_ = count; }
    void FileDone() override { ++done_; }
    void StatusText(const std::string& text) override {
        // The status after the last file is the result, printed by the caller.
        if (!terminal_ || done_ >= total_)
            return;
        clearLine();
        std::fprintf(stderr, "[%d/%d] %s", done_ + 1, total_, cli::TerminalText(text).c_str());
        std::fflush(stderr);
        lineShown_ = true;
    }
    void Finished() override { clearLine(); }
    void Problem(const build::Diagnostic& d) override {
        clearLine();
        std::fprintf(stderr, "%s: %s\n", d.kind == build::Diagnostic::Kind::Error ? "error" : "warning",
                     cli::TerminalText(d.Describe()).c_str());
    }

private:
    void clearLine() {
        if (lineShown_)
            std::fputs("\r\033[K", stderr);
        lineShown_ = false;
    }

    bool terminal_;
    bool lineShown_ = false;
    int total_ = 0;
    int done_ = 0;
};

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s --build [--trust] PROJECT.vlr\n", program);
    return 2;
}

}  // namespace

bool IsCommandLineBuild(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], kOption) == 0)
        return true;
    return argc >= 3 && std::strcmp(argv[1], kTrustOption) == 0 && std::strcmp(argv[2], kOption) == 0;
}

int RunCommandLineBuild(int argc, char** argv) {
    // "--build" and "--trust" in any order, and one project file.
    bool trust = false;
    bool build = false;
    const char* project = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], kOption) == 0 && !build)
            build = true;
        else if (std::strcmp(argv[i], kTrustOption) == 0 && !trust)
            trust = true;
        else if (!project && argv[i][0] != '\0' && (argv[i][0] != '-' || argv[i][1] == '\0'))
            project = argv[i];
        else
            return usage(argv[0]);
    }
    if (!project)
        return usage(argv[0]);
    build::BuildRequest request;
    request.projectFile = project;
    request.environment = build::SystemBuildEnvironment();
    // Only the user's word lets a build go outside the project's folder.
    request.allowOutside = [trust](const std::string&) { return trust; };
    TerminalReporter reporter;
    try {
        build::BuildSummary summary = build::BuildSite(request, reporter);
        // A failure's reasons are already printed, one line each.
        if (summary.ok)
            std::fprintf(stderr, "%s\n", summary.result.c_str());
        else if (!summary.refused.empty())
            std::fprintf(stderr,
                         "The build was refused: %s lies outside the project's folder. "
                         "Build it with --trust only if you trust the project.\n",
                         summary.refused.c_str());
        else if (summary.failed > 0)
            std::fprintf(stderr, "The build failed: %d of %d pages not built\n", summary.failed,
                         summary.failed + summary.built + summary.upToDate);
        else
            std::fprintf(stderr, "The build failed\n");
        return summary.ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: the build stopped: %s\n", cli::TerminalText(e.what()).c_str());
        return 1;
    }
}

}  // namespace vlr
