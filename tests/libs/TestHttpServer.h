// A small HTTP server on 127.0.0.1 for the link-check tests, started and
// stopped by the test. Its paths:
//   /ok        200 for HEAD and GET (also /ok.vlr, a file named as a project)
//   /missing   404
//   /moved     301 to /ok
//   /loop      302 to itself
//   /nohead    405 for HEAD, 200 for GET
//   /slow...   never answers (until the server stops)
// Any other path answers 404.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vlrtest {

class TestHttpServer {
public:
    TestHttpServer();
    ~TestHttpServer();
    int port() const { return port_; }
    std::string url(const std::string& path) const;
    // Request lines received, e.g. "HEAD /ok".
    std::vector<std::string> requests() const;

private:
    void serve();
    void answer(int fd);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::vector<std::thread> connections_;
    std::vector<std::string> requests_;
};

// A port on 127.0.0.1 on which nothing listens.
int ClosedPort();

}  // namespace vlrtest
