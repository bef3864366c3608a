#include "SshServer.h"

#include "UploadTestSupport.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace uploadtest {
namespace {

pid_t Spawn(const std::vector<std::string>& args, const std::string& log) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

bool Accepts(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

}  // namespace

bool RunQuietly(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv, "/dev/null");
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

SshServer::SshServer(std::string folder) : folder_(std::move(folder)) {
    if (folder_.back() != '/')
        folder_ += '/';
    fs::create_directories(folder_);
    // sshd's privilege separation needs its empty folder.
    std::error_code ec;
    fs::create_directories("/run/sshd", ec);
    for (const char* key : {"host_key", "client_key", "other_host_key"}) {
        if (!RunQuietly({"/usr/bin/ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-C", "velora-test", "-f",
                         folder_ + key})) {
            problem_ = "ssh-keygen failed";
            return;
        }
    }
    WriteFile(folder_ + "authorized_keys", ReadFile(folder_ + "client_key.pub"));
    for (int attempt = 0; attempt < 5 && pid_ < 0; ++attempt) {
        port_ = FreePort();
        WriteFile(folder_ + "sshd_config", "ListenAddress 127.0.0.1\nPort " + std::to_string(port_) +
                                               "\nHostKey " + folder_ + "host_key\nAuthorizedKeysFile " + folder_ +
                                               "authorized_keys\nPidFile " + folder_ +
                                               "sshd.pid\nStrictModes no\nUsePAM no\n"
                                               "PasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                                               "PubkeyAuthentication yes\nPermitRootLogin prohibit-password\n"
                                               "Subsystem sftp internal-sftp\nLogLevel ERROR\n");
        const pid_t pid = Spawn({"/usr/sbin/sshd", "-D", "-e", "-f", folder_ + "sshd_config"}, folder_ + "sshd.log");
        if (pid <= 0) {
            problem_ = "sshd could not be started";
            return;
        }
        for (int wait = 0; wait < 100; ++wait) {
            if (Accepts(port_)) {
                pid_ = pid;
                break;
            }
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
                break;  // ended: the port was taken meanwhile, or the configuration is wrong
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (pid_ < 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
            problem_ = "sshd did not start: " + ReadFile(folder_ + "sshd.log");
        }
    }
    if (pid_ > 0)
        problem_.clear();
}

SshServer::~SshServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string SshServer::url(const std::string& absoluteFolder) const {
    return "sftp://127.0.0.1:" + std::to_string(port_) + absoluteFolder;
}

std::string SshServer::user() const {
    const passwd* pw = ::getpwuid(::getuid());
    return pw ? pw->pw_name : "root";
}

std::string SshServer::knownHosts(const std::string& file, bool withTheRealKey) const {
    std::string key = ReadFile(folder_ + (withTheRealKey ? "host_key.pub" : "other_host_key.pub"));
    WriteFile(file, "[127.0.0.1]:" + std::to_string(port_) + " " + key);
    return file;
}

}  // namespace uploadtest
