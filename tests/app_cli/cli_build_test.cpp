// `velora --build`: the real program builds a site without a display and
// answers with its exit code and messages on stderr.
#include "../project_build/BuildTestSupport.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

extern char** environ;

using namespace buildtest;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string err;
    bool timedOut = false;
};

// Runs the program with the given arguments, with no display and no Qt
// platform set, so that any attempt to make a window would abort it. A run
// that takes longer than `limit` is killed.
Outcome Velora(const std::vector<std::string>& args, const std::string& cwd,
               std::chrono::seconds limit = std::chrono::seconds(60),
               std::string program = std::string(VELORA_APPDIR) + "/velora") {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "WAYLAND_DISPLAY=", 16) != 0 &&
            std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
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
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char buf[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{pipeFds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) == 0) {
            run.timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        run.err.append(buf, static_cast<std::size_t>(n));
    }
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

// The build runs in the program the user starts, without the window
// program: a copy of it alone in a folder builds, and only a start that
// needs the window says that the window program is missing.
TEST(CommandLineBuild, RunsWithoutTheWindowProgram) {
    TempFolder temp;
    const std::string alone = temp / "bin/velora";
    WriteFile(alone, ReadFile(std::string(VELORA_APPDIR) + "/velora"));
    ASSERT_EQ(::chmod(alone.c_str(), 0755), 0);
    WriteFile(temp / "site/p.vlr", "[files]\n0=a.hts\n[directories]\nsrc=.\nout=out\n[variables]\nWho=you\n");
    WriteFile(temp / "site/a.hts", "hello <%Who%> from <%ProjFile%>");

    Outcome run = Velora({"--build", "site/p.vlr"}, temp.path(), std::chrono::seconds(60), alone);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(temp / "site/out/a.html"), "hello you from p.vlr");
    run = Velora({"--version"}, temp.path(), std::chrono::seconds(60), alone);
    EXPECT_EQ(run.exitCode, 0) << run.err;

    run = Velora({"site/a.hts"}, temp.path(), std::chrono::seconds(60), alone);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot start the window program " + temp / "bin/velora-gui"), std::string::npos)
        << run.err;
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

// A project from someone else: what it names outside its folder is neither
// read nor written unless the user says --trust.
TEST(CommandLineBuild, OutsideTheProjectFolderOnlyWithTrust) {
    TempFolder temp;
    WriteFile(temp / "secret.txt", "SECRET");
    WriteFile(temp / "site/p.vlr", "[files]\n0=src/a.hts\n[directories]\nsrc=src\nout=out\n");
    WriteFile(temp / "site/src/a.hts", "a <&../../secret.txt&>");

    Outcome run = Velora({"--build", "site/p.vlr"}, temp.path());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("error: a.hts:1: the include file \"../../secret.txt\" (leads to "), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("lies outside the project's folder"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--trust"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(temp / "site/out/a.html"));

    for (const std::vector<std::string>& args : {std::vector<std::string>{"--build", "--trust", "site/p.vlr"},
                                                 std::vector<std::string>{"--build", "site/p.vlr", "--trust"},
                                                 std::vector<std::string>{"--trust", "--build", "site/p.vlr"}}) {
        fs::remove_all(temp / "site/out");
        run = Velora(args, temp.path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(ReadFile(temp / "site/out/a.html"), "a SECRET");
    }

    // An output folder outside: nothing is written there.
    WriteFile(temp / "site/p.vlr", "[files]\n0=src/b.hts\n[directories]\nsrc=src\nout=" + (temp / "elsewhere") + "\n");
    WriteFile(temp / "site/src/b.hts", "b");
    run = Velora({"--build", "site/p.vlr"}, temp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("the output folder \"" + (temp / "elsewhere") + "\" lies outside the project's folder"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(temp / "elsewhere"));
    run = Velora({"--build", "--trust", "site/p.vlr"}, temp.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(temp / "elsewhere/b.html"), "b");

    run = Velora({"--build", "--trust"}, temp.path());
    EXPECT_EQ(run.exitCode, 2);
    run = Velora({"--build", "--trust", "--trust", "site/p.vlr"}, temp.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("usage:"), std::string::npos) << run.err;
}

TEST(CommandLineBuild, AnOutputFolderLinkedToTheSourcesLeavesThemAlone) {
    TempFolder temp;
    WriteFile(temp / "p.vlr", "[files]\n0=src/index.html\n[directories]\nsrc=src\nout=public\n[variables]\nT=x\n");
    WriteFile(temp / "src/index.html", "<%T%>");
    fs::create_directory_symlink("src", temp / "public");
    Outcome run = Velora({"--build", "p.vlr"}, temp.path());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("is the same file as the source"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(temp / "src/index.html"), "<%T%>");
}

TEST(CommandLineBuild, DevicesPipesAndRunawayVariablesFailQuicklyWithAMessage) {
    TempFolder temp;
    fs::create_directories(temp / "src");
    ASSERT_EQ(::mkfifo((temp / "src/pipe.inc").c_str(), 0600), 0);
    std::string many;
    for (int i = 0; i < 50000; ++i)
        many += "<%Big%>";
    WriteFile(temp / "src/zero.hts", "<&/dev/zero&>");
    WriteFile(temp / "src/pipe.hts", "<&pipe.inc&>");
    WriteFile(temp / "src/vars.hts", many);
    WriteFile(temp / "p.vlr", "[files]\n0=src/zero.hts\n1=src/pipe.hts\n2=src/vars.hts\n[directories]\nsrc=src\nout=out\n"
                              "[variables]\nBig=" + std::string(1 << 20, 'x') + "\n");
    const auto start = std::chrono::steady_clock::now();
    // Trusted, so that only what the files are stops them.
    Outcome run = Velora({"--build", "--trust", "p.vlr"}, temp.path(), std::chrono::seconds(30));
    EXPECT_FALSE(run.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("zero.hts:1: cannot read include file \"/dev/zero\" (it is a device, not a file)"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("pipe.hts:1: cannot read include file \"pipe.inc\" (it is a named pipe, not a file)"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("vars.hts:1: the page grows beyond 64 MB through its variables"), std::string::npos)
        << run.err.substr(0, 2000);
    EXPECT_NE(run.err.find("The build failed: 3 of 3 pages not built"), std::string::npos) << run.err.substr(0, 2000);
}

}  // namespace
