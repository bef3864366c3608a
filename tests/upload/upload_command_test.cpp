// `velora --upload`: the program run as a script would run it, its output
// lines and exit codes.
#include "FtpServer.h"
#include "UploadTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

extern char** environ;

using namespace uploadtest;
using Files = std::vector<std::string>;

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the program with stdin from /dev/null, so that it can never wait for
// a typed password.
ProgramRun Velora(const std::vector<std::string>& args, const Site& site, const std::string& password = "",
                  const std::vector<std::string>& extraEnv = {}) {
    ProgramRun run;
    const std::string outFile = site.root() + "stdout.txt", errFile = site.root() + "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string program = std::string(VELORA_APPDIR) + "/velora";
    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("VELORA_UPLOAD_PASSWORD=", 0) != 0 && std::string(*e).rfind("DISPLAY=", 0) != 0)
            envStrings.emplace_back(*e);
    if (!password.empty())
        envStrings.push_back("VELORA_UPLOAD_PASSWORD=" + password);
    envStrings.push_back("VELORA_NO_SECRET_STORE=1");
    envStrings.insert(envStrings.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return run;
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ReadFile(outFile);
    run.err = ReadFile(errFile);
    return run;
}

TEST(UploadCommand, UploadsToAFolderRemembersItAndSendsNothingTheSecondTime) {
    Site site;
    site.put("index.html", "i");
    site.put("css/a.css", "a");
    ProgramRun r = Velora({"--upload", site.project(), "--to", site.dest()}, site);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "sent css/a.css\nsent index.html\n2 files sent, 0 unchanged\n");
    EXPECT_EQ(ReadFile(site.dest("css/a.css")), "a");

    // The destination used last is the default.
    r = Velora({"--upload", site.project()}, site);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "0 files sent, 2 unchanged\n");

    site.put("index.html", "i2");
    r = Velora({"--upload", site.project(), "--dry-run"}, site);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "would send index.html\n1 files would be sent, 1 unchanged\n");
    EXPECT_EQ(ReadFile(site.dest("index.html")), "i");
}

TEST(UploadCommand, WrongCommandLinesAndProjectsExitWithTwo) {
    Site site;
    EXPECT_EQ(Velora({"--upload"}, site).exitCode, 2);
    EXPECT_EQ(Velora({"--upload", site.project(), "--colour", "red"}, site).exitCode, 2);
    ProgramRun r = Velora({"--upload", site.root() + "missing.vlr", "--to", site.dest()}, site);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;
    r = Velora({"--upload", site.project()}, site);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("use --to"), std::string::npos) << r.err;
    r = Velora({"--upload", site.project(), "--to", "http://127.0.0.1/"}, site);
    EXPECT_EQ(r.exitCode, 2);
}

TEST(UploadCommand, FtpWithPasswordFromTheEnvironmentAndWrongCredentialsExitWithOne) {
    Site site;
    std::filesystem::create_directories(site.root() + "server");
    FtpServer server(site.root() + "server", "web", "pw");
    ASSERT_TRUE(server.running());
    site.put("index.html", "i");
    ProgramRun r = Velora({"--upload", site.project(), "--to", server.url("www"), "--user", "web"}, site, "nope");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("refused the user name or password"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(site.root() + "server/www/index.html"));

    // No password and no terminal to ask on.
    r = Velora({"--upload", site.project(), "--to", server.url("www"), "--user", "web"}, site);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("VELORA_UPLOAD_PASSWORD"), std::string::npos) << r.err;

    r = Velora({"--upload", site.project(), "--to", server.url("www"), "--user", "web"}, site, "pw");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "sent index.html\n1 files sent, 0 unchanged\n");
    EXPECT_EQ(ReadFile(site.root() + "server/www/index.html"), "i");
    // The password is nowhere in what is kept beside the project.
    for (const std::string& f : FilesUnder(site.state()))
        EXPECT_EQ(ReadFile(site.state() + f).find("pw\n"), std::string::npos) << f;
}

TEST(UploadCommand, APasswordFromTheEnvironmentGoesOnlyToAServerNamedOnTheCommandLine) {
    Site site;
    std::filesystem::create_directories(site.root() + "server");
    std::filesystem::create_directories(site.root() + "rogue");
    FtpServer server(site.root() + "server", "web", "pw");
    FtpServer rogue(site.root() + "rogue", "web", "pw");
    ASSERT_TRUE(server.running() && rogue.running());
    site.put("index.html", "i");
    // A project from someone else may bring a record naming its own server.
    WriteFile(site.project() + ".upload/destinations", rogue.url("x/") + "\tweb\t" + site.out() + "\t0\n");
    ProgramRun r = Velora({"--upload", site.project()}, site, "pw");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(FilesUnder(site.root() + "rogue").empty());

    r = Velora({"--upload", site.project(), "--to", server.url("www"), "--user", "web"}, site, "pw");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The server used last is remembered in the user's folder, but the
    // password from the environment is not sent to it unless named again.
    site.put("index.html", "i2");
    r = Velora({"--upload", site.project()}, site, "pw");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("--to"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(site.root() + "server/www/index.html"), "i");
    // A remembered folder needs no password and is used as before.
    r = Velora({"--upload", site.project(), "--to", site.dest()}, site);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Velora({"--upload", site.project()}, site, "pw");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "0 files sent, 1 unchanged\n");
}

TEST(UploadCommand, TheTraceNeverShowsThePasswordAndAPasswordInTheAddressIsWarnedAbout) {
    Site site;
    std::filesystem::create_directories(site.root() + "server");
    const std::string password = "Pw-Secret-9";
    FtpServer server(site.root() + "server", "web", password);
    ASSERT_TRUE(server.running());
    site.put("index.html", "i");
    const std::string to = "ftp://web:" + password + "@127.0.0.1:" + std::to_string(server.port()) + "/www";
    ProgramRun r = Velora({"--upload", site.project(), "--to", to}, site, "", {"VELORA_UPLOAD_TRACE=1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("PASS ****"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(password), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("warning: the password written in the --to address can be seen"), std::string::npos);
    EXPECT_EQ(ReadFile(site.root() + "server/www/index.html"), "i");
}

TEST(UploadCommand, TheDryRunListsWhatIsLeftOutAndAFailedDeleteExitsWithOne) {
    Site site;
    std::filesystem::create_directories(site.root() + "server");
    FtpServer server(site.root() + "server", "web", "pw");
    site.put("index.html", "i");
    site.put("old.html", "o");
    site.put(".git/config", "x");
    WriteFile(site.root() + "id_rsa", "PRIVATE KEY");
    std::filesystem::create_symlink(site.root() + "id_rsa", site.out("id_rsa"));
    const std::vector<std::string> upload{"--upload", site.project(), "--to", server.url("www"), "--user", "web"};
    ProgramRun r = Velora({"--upload", site.project(), "--to", server.url("www"), "--dry-run"}, site);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "would send index.html\nwould send old.html\nleft out .git/ (private folder)\n"
                     "left out id_rsa (link outside the site)\n2 files would be sent, 0 unchanged\n"
                     "left out: 2 files (links outside the site, private files)\n");
    r = Velora(upload, site, "pw");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FilesUnder(site.root() + "server"), (Files{"www/index.html", "www/old.html"}));

    // old.html cannot be deleted: a folder has taken its name on the server.
    std::filesystem::remove(site.root() + "server/www/old.html");
    WriteFile(site.root() + "server/www/old.html/keep.txt", "k");
    std::filesystem::remove(site.out("old.html"));
    std::vector<std::string> withDelete = upload;
    withDelete.push_back("--delete");
    r = Velora(withDelete, site, "pw");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.find("deleted old.html"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("failed old.html"), std::string::npos) << r.out;
}

}  // namespace
