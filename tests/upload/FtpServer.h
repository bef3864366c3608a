// An FTP server on 127.0.0.1 for the tests (pyftpdlib), started and stopped
// by the test that owns it.
#pragma once

#include <string>
#include <sys/types.h>

namespace uploadtest {

// TLS for the server: none, "AUTH TLS" on request (ftpes://), or from the
// first byte (ftps://), with the certificate and key in one PEM file.
struct FtpTls {
    enum Mode { None, Explicit, Implicit } mode = None;
    std::string certFile;
};

class FtpServer {
public:
    // Serves root to the one user; bytesPerSecond 0 is unthrottled. port 0
    // takes a free port.
    FtpServer(std::string root, std::string user, std::string password, int bytesPerSecond = 0, int port = 0,
              FtpTls tls = {});
    ~FtpServer();
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    bool running() const { return pid_ > 0; }
    int port() const { return port_; }
    std::string url(const std::string& path = "") const;
    // Ends the server at once, as a crash or a pulled cable would.
    void kill();
    // Starts it again on the same port, with another speed limit when
    // bytesPerSecond is not negative.
    bool restart(int bytesPerSecond = -1);

private:
    bool start();

    std::string root_, user_, password_;
    FtpTls tls_;
    int rate_ = 0;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace uploadtest
