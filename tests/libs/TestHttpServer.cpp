// The link-check tests' HTTP server.
#include "TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace vlrtest {

namespace {

int Listen(int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 16) != 0)
        throw std::runtime_error("test server cannot listen");
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    *port = ntohs(a.sin_port);
    return fd;
}

void SendAll(int fd, const std::string& s) {
    std::size_t sent = 0;
    while (sent < s.size()) {
        const ssize_t n = ::send(fd, s.data() + sent, s.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        sent += std::size_t(n);
    }
}

}  // namespace

TestHttpServer::TestHttpServer() {
    listener_ = Listen(&port_);
    acceptor_ = std::thread([this] { serve(); });
}

TestHttpServer::~TestHttpServer() {
    stop_ = true;
    acceptor_.join();
    std::vector<std::thread> open;
    {
        std::lock_guard lock(mutex_);
        open.swap(connections_);
    }
    for (std::thread& t : open)
        t.join();
    ::close(listener_);
}

std::string TestHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> TestHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void TestHttpServer::serve() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0)
            continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, fd] {
            answer(fd);
            ::close(fd);
        });
    }
}

void TestHttpServer::answer(int fd) {
    // One request per connection: read the head, answer, close.
    std::string head;
    char buf[1024];
    while (head.find("\r\n\r\n") == std::string::npos && !stop_) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            return;
        head.append(buf, std::size_t(n));
    }
    const std::string method = head.substr(0, head.find(' '));
    const std::size_t pathStart = method.size() + 1;
    const std::string path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(method + " " + path);
    }
    auto reply = [&](const std::string& status, const std::string& extra = {}) {
        const std::string body = "<html><body>" + status + "</body></html>";
        std::string r = "HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " +
                        std::to_string(body.size()) + "\r\nConnection: close\r\n" + extra + "\r\n";
        if (method != "HEAD")
            r += body;
        SendAll(fd, r);
    };
    if (path == "/ok" || path == "/ok.vlr")
        reply("200 OK");
    else if (path == "/moved")
        reply("301 Moved Permanently", "Location: /ok\r\n");
    else if (path == "/loop")
        reply("302 Found", "Location: /loop\r\n");
    else if (path == "/nohead")
        reply(method == "HEAD" ? "405 Method Not Allowed" : "200 OK");
    else if (path.rfind("/slow", 0) == 0) {
        while (!stop_)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } else
        reply("404 Not Found");
}

int ClosedPort() {
    int port = 0;
    const int fd = Listen(&port);
    ::close(fd);
    return port;
}

}  // namespace vlrtest
