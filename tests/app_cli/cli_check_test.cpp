// `velora --check`: the real program checks a site without a display; the
// problems on stdout as lines or JSON, the count on stderr, and the exit code.
#include "../project_build/BuildTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

using namespace buildtest;

namespace {

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

// Runs the program in `cwd` without a display, its output into files of `temp`.
Outcome Velora(const std::vector<std::string>& args, const std::string& cwd, const TempFolder& temp) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "WAYLAND_DISPLAY=", 16) != 0 &&
            std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> all{std::string(VELORA_APPDIR) + "/velora"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string outFile = temp / "stdout.txt", errFile = temp / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    Outcome run;
    EXPECT_EQ(posix_spawn(&pid, all[0].c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ReadFile(outFile);
    run.err = ReadFile(errFile);
    return run;
}

// A small site like the example: a relative project file, pages in src/, an include.
void WriteSite(const TempFolder& temp, const std::string& check = "") {
    WriteFile(temp / "site/site.vlr", "[files]\n0=src/index.hts\n1=src/about.hts\n[directories]\nsrc=src\nout=public\n"
                                      "[variables]\nName=Hill\n" + check);
    WriteFile(temp / "site/src/parts/nav.inc", "<nav>\n  <a href=\"about.html\">About</a> <img src=\"logo.png\">\n</nav>");
    WriteFile(temp / "site/src/index.hts", "<!DOCTYPE html>\n<html lang=\"en\"><head><title><%Name%></title></head>\n"
                                           "<body>\n<&parts/nav.inc&>\n<h1>Home</h1><h3>x</h3>\n</body></html>\n");
    WriteFile(temp / "site/src/about.hts", "<!DOCTYPE html>\n<html lang=\"en\"><head><title>About</title></head>\n"
                                           "<body><h1>About</h1><p>Fine.</p></body></html>\n");
}

}  // namespace

TEST(CommandLineCheck, ProblemsAtTheirFilesLinesAsTextAndJson) {
    TempFolder temp;
    WriteSite(temp);
    Outcome run = Velora({"--check", "site/site.vlr"}, temp.path(), temp);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out,
              "src/index.hts:5:14: warning: heading level skipped: <h3> after <h1> [heading-order]\n"
              "src/parts/nav.inc:2:34: error: <img> without an alt attribute [img-alt]\n"
              "src/parts/nav.inc:2:44: error: \"logo.png\" is not in the built site [link-missing]\n");
    EXPECT_EQ(run.err, "2 errors, 1 warning in 2 pages\n");

    run = Velora({"--format", "json", "--check", "site/site.vlr"}, temp.path(), temp);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("\"errors\": 2,\n  \"warnings\": 1,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("{\"file\": \"src/parts/nav.inc\", \"line\": 2, \"column\": 34, \"severity\": \"error\", "
                           "\"rule\": \"img-alt\", \"message\": \"<img> without an alt attribute\", "
                           "\"page\": \"src/index.hts\", \"includedFrom\": [{\"file\": \"src/index.hts\", "
                           "\"line\": 4, \"column\": 1}]}"),
              std::string::npos)
        << run.out;
}

TEST(CommandLineCheck, ExitZeroWithoutErrorsAndTwoForBadUsage) {
    TempFolder temp;
    // Rules switched off in the project file; the warning left does not fail the check.
    WriteSite(temp, "[Check]\nimg-alt=off\nlink-missing=0\n");
    Outcome run = Velora({"--check", temp / "site/site.vlr"}, "/", temp);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "0 errors, 1 warning in 2 pages\n");

    EXPECT_EQ(Velora({"--check"}, temp.path(), temp).exitCode, 2);
    EXPECT_EQ(Velora({"--check", "absent.vlr"}, temp.path(), temp).exitCode, 2);
    run = Velora({"--check", "site/site.vlr", "--format", "xml"}, temp.path(), temp);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("unknown format xml"), std::string::npos) << run.err;
    EXPECT_EQ(Velora({"--check", "site/site.vlr", "--build"}, temp.path(), temp).exitCode, 2);
}
