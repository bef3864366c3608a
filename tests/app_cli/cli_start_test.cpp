// The real program's start: --help and --version without a display, the exit
// codes, relative arguments from any working folder, and one running program
// per user that command-line runs never take the socket from.
#include "../project_build/BuildTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>

extern char** environ;

using namespace buildtest;

namespace {

// A started program whose stdout and stderr are collected.
class Program {
public:
    Program(const std::vector<std::string>& args, const std::string& cwd, const std::map<std::string, std::string>& extra) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('='));
            // No display at all: a window would abort the program.
            if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM" && !extra.count(name))
                env.push_back(entry);
        }
        for (const auto& [name, value] : extra)
            env.push_back(name + "=" + value);
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
        int out[2], err[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
        EXPECT_EQ(posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
        ::fcntl(out_, F_SETFL, O_NONBLOCK);
        ::fcntl(err_, F_SETFL, O_NONBLOCK);
    }
    ~Program() {
        if (pid_ > 0 && code_ < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }
    // Waits for the end; -1 when it has not ended in time.
    int Wait(int seconds = 60) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (code_ < 0 && std::chrono::steady_clock::now() < until) {
            Drain();
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_)
                code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        Drain();
        return code_;
    }
    // Waits until stderr holds `text`.
    bool WaitForError(const std::string& text, int seconds = 60) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (err.find(text) == std::string::npos && std::chrono::steady_clock::now() < until) {
            Drain();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return err.find(text) != std::string::npos;
    }
    void Stop() {
        ::kill(pid_, SIGTERM);
        if (Wait(20) < 0)
            ::kill(pid_, SIGKILL);
        Wait(20);
    }
    std::string out, err;

private:
    void Drain() {
        char buf[4096];
        for (ssize_t n; (n = ::read(out_, buf, sizeof buf)) > 0;)
            out.append(buf, std::size_t(n));
        for (ssize_t n; (n = ::read(err_, buf, sizeof buf)) > 0;)
            err.append(buf, std::size_t(n));
    }
    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    int code_ = -1;
};

// A program folder of its own for a started window (links to the built one),
// and a private runtime folder.
class StartTest : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        fs::create_directories(temp / "app");
        for (const auto& e : fs::directory_iterator(VELORA_APPDIR))
            fs::create_symlink(e.path(), fs::path(temp / "app") / e.path().filename());
        fs::create_directories(temp / "run");
        ::chmod((temp / "run").c_str(), 0700);
        env = {{"VELORA_APPDIR", temp / "app"}, {"XDG_RUNTIME_DIR", temp / "run"}, {"VELORA_PROMPTS", "log"},
               {"HOME", temp / "home"}, {"XDG_CONFIG_HOME", temp / "home/.config"}};
    }
    std::map<std::string, std::string> windowEnv() const {
        auto e = env;
        e["QT_QPA_PLATFORM"] = "offscreen";
        return e;
    }
    TempFolder temp;
    std::map<std::string, std::string> env;
};

TEST_F(StartTest, HelpAndVersionNeedNoDisplayAndExitZero) {
    Program help({"--help"}, temp.path(), env);
    EXPECT_EQ(help.Wait(), 0) << help.err;
    for (const char* option : {"--build", "--check", "--format", "--trust", "--upload", "--to", "--user", "--dry-run",
                               "--delete", "--version", "--help",
                               "Exit status: 0 done, 1 the work failed, 2 bad usage or a missing project"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(help.err, "");

    Program version({"--version"}, temp.path(), env);
    EXPECT_EQ(version.Wait(), 0) << version.err;
    EXPECT_EQ(version.out.rfind("velora ", 0), 0u) << version.out;
    EXPECT_EQ(std::count(version.out.begin(), version.out.end(), '.'), 3) << version.out;
}

TEST_F(StartTest, MistakesAndMissingProjectsExitTwoAndNameWhat) {
    Program unknown({"--frobnicate", "page.hts"}, temp.path(), env);
    EXPECT_EQ(unknown.Wait(), 2);
    EXPECT_NE(unknown.err.find("velora: unknown option --frobnicate"), std::string::npos) << unknown.err;

    for (const char* command : {"--build", "--upload"}) {
        Program missing({command, "absent.vlr"}, temp.path(), env);
        EXPECT_EQ(missing.Wait(), 2) << command << ": " << missing.err;
        EXPECT_NE(missing.err.find("cannot read the project file absent.vlr"), std::string::npos) << missing.err;
    }
    // A name holding a terminal's control sequence is printed escaped.
    Program hostile({"--build", "evil\x1b]0;owned\x07.vlr"}, temp.path(), env);
    EXPECT_EQ(hostile.Wait(), 2);
    EXPECT_EQ(hostile.err.find('\x1b'), std::string::npos) << hostile.err;
    EXPECT_NE(hostile.err.find("evil\\x1b]0;owned\\x07.vlr"), std::string::npos) << hostile.err;
}

TEST_F(StartTest, ProjectTextIsPrintedEscaped) {
    // An include named with a terminal's control sequences, and a page file
    // whose name holds one: the build's error and the upload's refusal show
    // them as escapes.
    WriteFile(temp / "site/p.vlr", "[files]\n0=src/a.hts\n[directories]\nsrc=src\nout=out\n");
    WriteFile(temp / "site/src/a.hts", "x <&evil\x1b[2J\x1b]0;owned\x07.inc&>");
    Program build({"--build", "site/p.vlr"}, temp.path(), env);
    EXPECT_EQ(build.Wait(), 1);
    EXPECT_EQ(build.err.find('\x1b'), std::string::npos) << build.err;
    EXPECT_EQ(build.err.find('\x07'), std::string::npos) << build.err;
    EXPECT_NE(build.err.find("evil\\x1b[2J\\x1b]0;owned\\x07.inc"), std::string::npos) << build.err;

    WriteFile(temp / "site/out/red\x1b[31m.html", "r");
    WriteFile(temp / "dest/keep.txt", "");
    // Such a name is never sent, and the refusal shows it escaped.
    Program upload({"--upload", "site/p.vlr", "--to", temp / "dest", "--dry-run"}, temp.path(), env);
    EXPECT_EQ(upload.Wait(), 1) << upload.err;
    EXPECT_EQ(upload.out.find('\x1b'), std::string::npos) << upload.out;
    EXPECT_EQ(upload.err.find('\x1b'), std::string::npos) << upload.err;
    EXPECT_NE(upload.err.find("red\\x1b[31m.html"), std::string::npos) << upload.err;
}

TEST_F(StartTest, RelativeArgumentsOpenFromAnyWorkingFolder) {
    // The example site's form: a project with relative folders, opened
    // together with one of its pages, both named relative to the start folder.
    WriteFile(temp / "work/site/site.vlr", "[files]\n0=src/index.hts\n[directories]\nsrc=src\nout=public\n");
    WriteFile(temp / "work/site/src/index.hts", "<p>home</p>");
    Program start({"--quit-after-start", "site/site.vlr", "site/src/index.hts"}, temp / "work", windowEnv());
    EXPECT_EQ(start.Wait(), 0) << start.err;
    EXPECT_EQ(start.err.find("does not exist"), std::string::npos) << start.err;
    EXPECT_EQ(start.err.find("[prompt]"), std::string::npos) << start.err;
}

TEST_F(StartTest, CommandLineRunsLeaveTheRunningProgramItsSocket) {
    Program running({}, temp.path(), windowEnv());
    // The running program takes the socket once its window is shown.
    const std::string runFolder = temp / "run/velora";
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    auto socketThere = [&] {
        namespace fs = std::filesystem;
        if (!fs::is_directory(runFolder))
            return false;
        for (const auto& e : fs::directory_iterator(runFolder))
            if (fs::is_socket(e.path()))
                return true;
        return false;
    };
    while (!socketThere() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(socketThere()) << running.err;

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--version"}, {"--bogus"}, {"--build", "absent.vlr"}}) {
        Program cli(args, temp.path(), env);
        EXPECT_GE(cli.Wait(), 0) << args[0];
    }
    // A later start with a file still reaches the running program, which
    // opens it (here: reports it missing), and ends at once.
    WriteFile(temp / "sub/keep", "");
    Program second({"sub/not-there.hts"}, temp.path(), windowEnv());
    EXPECT_EQ(second.Wait(30), 0) << second.err;
    EXPECT_TRUE(running.WaitForError("File does not exist: " + (temp / "sub/not-there.hts"), 30)) << running.err;
    // A start without files only brings the running program to the front.
    Program bare({}, temp.path(), windowEnv());
    EXPECT_EQ(bare.Wait(30), 0) << bare.err;
    running.Stop();
}

}  // namespace
