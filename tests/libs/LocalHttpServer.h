// A small HTTP server on 127.0.0.1 for the download tests: it answers each
// connection from a handler on its own thread and stops with the object.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace vlrtest {

struct HttpReply {
    std::string head;  // status line and headers, without the blank line
    std::string body;
    int delayMs = 0;   // wait before answering
};

class LocalHttpServer {
public:
    explicit LocalHttpServer(std::function<HttpReply(const std::string& path)> handler) : handler_(std::move(handler)) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 16);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LocalHttpServer() {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
        for (std::thread& t : workers_)
            t.join();
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    void Serve() {
        while (!stop_) {
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0)
                return;
            workers_.emplace_back([this, c] { Answer(c); });
        }
    }
    void Answer(int c) {
        std::string request;
        char buf[2048];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            request.append(buf, std::size_t(n));
        }
        const std::size_t sp = request.find(' ');
        const std::string path = request.substr(sp + 1, request.find(' ', sp + 1) - sp - 1);
        const HttpReply r = handler_(path);
        for (int waited = 0; waited < r.delayMs && !stop_; waited += 20)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::string out = r.head + "\r\nContent-Length: " + std::to_string(r.body.size()) +
                                "\r\nConnection: close\r\n\r\n" + r.body;
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::send(c, out.data() + done, out.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        ::close(c);
    }

    std::function<HttpReply(const std::string&)> handler_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::vector<std::thread> workers_;
};

}  // namespace vlrtest
