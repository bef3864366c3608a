#include "FtpServer.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace uploadtest {

FtpServer::FtpServer(std::string root, std::string user, std::string password, int bytesPerSecond, int port,
                     FtpTls tls)
    : root_(std::move(root)), user_(std::move(user)), password_(std::move(password)), tls_(std::move(tls)),
      rate_(bytesPerSecond), port_(port) {
    start();
}

FtpServer::~FtpServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string FtpServer::url(const std::string& path) const {
    const char* scheme = tls_.mode == FtpTls::Implicit ? "ftps" : tls_.mode == FtpTls::Explicit ? "ftpes" : "ftp";
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

void FtpServer::kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

bool FtpServer::restart(int bytesPerSecond) {
    kill();
    if (bytesPerSecond >= 0)
        rate_ = bytesPerSecond;
    // The old listening socket may take a moment to be released.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (start())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool FtpServer::start() {
    int out[2];
    if (::pipe(out) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    const std::string script = std::string(UPLOAD_TEST_DIR) + "/ftp_server.py";
    const std::string port = std::to_string(port_), rate = std::to_string(rate_);
    const char* mode = tls_.mode == FtpTls::Implicit ? "implicit" : tls_.mode == FtpTls::Explicit ? "explicit" : "none";
    const char* argv[] = {"/usr/bin/python3", script.c_str(), root_.c_str(), user_.c_str(), password_.c_str(),
                          port.c_str(), rate.c_str(), mode, tls_.certFile.c_str(), nullptr};
    pid_t pid = -1;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        return false;
    }
    // The first line is the port, once the server listens.
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&p, 1, 10000) > 0) {
        char buf[64];
        ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0)
            break;
        line.append(buf, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    int listening = std::atoi(line.c_str());
    if (listening <= 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return false;
    }
    port_ = listening;
    pid_ = pid;
    return true;
}

}  // namespace uploadtest
