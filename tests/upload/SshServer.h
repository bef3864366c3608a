// OpenSSH's sshd on 127.0.0.1 for the SFTP tests, with its own host key,
// configuration and authorised client key in a folder of the test; started
// and stopped by the test that owns it.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace uploadtest {

class SshServer {
public:
    // Keys and configuration go to folder (made when missing).
    explicit SshServer(std::string folder);
    ~SshServer();
    SshServer(const SshServer&) = delete;
    SshServer& operator=(const SshServer&) = delete;

    bool running() const { return pid_ > 0; }
    int port() const { return port_; }
    // The address of an absolute folder on the server.
    std::string url(const std::string& absoluteFolder) const;
    // The user sshd lets in with clientKey().
    std::string user() const;
    std::string clientKey() const { return folder_ + "client_key"; }
    // Writes a known-hosts file naming this server with its real host key,
    // or with another key of the same type (a changed host key).
    std::string knownHosts(const std::string& file, bool withTheRealKey = true) const;
    // Why the server did not start, when it did not.
    const std::string& problem() const { return problem_; }

private:
    std::string folder_;
    std::string problem_;
    int port_ = 0;
    pid_t pid_ = -1;
};

// Runs a program with arguments (no shell) and waits; true on exit status 0.
bool RunQuietly(const std::vector<std::string>& argv);

}  // namespace uploadtest
