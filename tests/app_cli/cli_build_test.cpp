// `velora --build`: the real program builds a site without a display and
// answers with its exit code and messages on stderr.
#include "../project_build/BuildTestSupport.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

using namespace buildtest;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string err;
};

// Runs the program with the given arguments, with no display and no Qt
// platform set, so that any attempt to make a window would abort it.
Outcome Velora(const std::vector<std::string>& args, const std::string& cwd) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "WAYLAND_DISPLAY=", 16) != 0 &&
            std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = std::string(VELORA_APPDIR) + "/velora";
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    EXPECT_EQ(::pipe(pipeFds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    Outcome run;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    EXPECT_EQ(rc, 0);
    char buf[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        run.err.append(buf, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

TEST(CommandLineBuild, BuildsTheSiteAndReportsOnStderr) {
    TempFolder temp;
    WriteFile(temp / "site/p.vlr", "[files]\n0=src/a.hts\n1=src/sub/b.hts\n[directories]\nsrc=src\nout=out\n"
                                   "[variables]\nWho=you\n");
    WriteFile(temp / "site/src/a.hts", "hello <%Who%> <&part.inc&>");
    WriteFile(temp / "site/src/part.inc", "(part)");
    WriteFile(temp / "site/src/sub/b.hts", "b <%ProjFile%>");

    // A relative project path, taken from the working directory.
    Outcome run = Velora({"--build", "site/p.vlr"}, temp.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("Built 2 pages in "), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(temp / "site/out/a.html"), "hello you (part)");
    EXPECT_EQ(ReadFile(temp / "site/out/sub/b.html"), "b p.vlr");

    run = Velora({"--build", temp / "site/p.vlr"}, "/");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "0 pages built, 2 up to date\n");
}

TEST(CommandLineBuild, FailuresExitWithOneAndNameFileAndLine) {
    TempFolder temp;
    WriteFile(temp / "p.vlr", "[files]\n0=a.hts\n1=b.hts\n[directories]\nsrc=.\nout=out\n");
    WriteFile(temp / "a.hts", "fine <%Undefined%>");
    WriteFile(temp / "b.hts", "one\ntwo <&missing.inc&>");
    Outcome run = Velora({"--build", "p.vlr"}, temp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("warning: a.hts:1: undefined variable <%Undefined%>\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("error: b.hts:2: include file \"missing.inc\" not found\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("The build failed: 1 of 2 pages not built\n"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(temp / "out/a.html"), "fine <%Undefined%>");

    // A missing project is a usage mistake, as for --upload.
    run = Velora({"--build", "absent.vlr"}, temp.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot read the project file"), std::string::npos) << run.err;

    run = Velora({"--build"}, temp.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("usage:"), std::string::npos);
}

}  // namespace
