// A second start hands its files to the running program: the request over the
// local socket, its receipt, and which starts forward at all.
#include "app/instance/SingleInstance.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using vlr::instance::InstanceServer;

namespace {
class SingleInstanceTest : public ::testing::Test {
protected:
    fs::path app;
    int argc = 1;
    char arg0[8] = "test";
    char* argv[2] = {arg0, nullptr};
    std::unique_ptr<QCoreApplication> qapp;

    void SetUp() override {
        if (!QCoreApplication::instance())
            qapp = std::make_unique<QCoreApplication>(argc, argv);
        app = fs::temp_directory_path() / ("vlr_instance_" + std::to_string(::getpid()));
        fs::create_directories(app / "run");
        ::chmod((app / "run").c_str(), 0700);
        ::setenv("VELORA_APPDIR", app.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (app / "run").c_str(), 1);
        ::unsetenv("VELORA_SINGLE_INSTANCE");
    }
    void TearDown() override {
        ::unsetenv("VELORA_APPDIR");
        ::unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(app);
    }
    // Runs the blocking sender on another thread while this one serves.
    bool send(const QStringList& paths, int timeoutMs = 3000) {
        auto result = std::async(std::launch::async, [&] { return vlr::instance::SendToRunning(paths, timeoutMs); });
        while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return result.get();
    }
};
}  // namespace

TEST_F(SingleInstanceTest, RunningProgramOpensForwardedPathsInOrderAndComesToFront) {
    QStringList opened;
    int activated = 0;
    InstanceServer server([&](const QString& p) { opened << p; }, [&] { ++activated; });
    ASSERT_TRUE(server.listening());
    const QStringList paths{QStringLiteral("/tmp/site/index.hts"), QStringLiteral("/tmp/my site/Ünïcode page.html"),
                            QStringLiteral("/tmp/site/site.vlr")};
    EXPECT_TRUE(send(paths));
    EXPECT_EQ(opened, paths);
    EXPECT_EQ(activated, 1);

    EXPECT_TRUE(send({QStringLiteral("/tmp/second.htf")}));
    EXPECT_EQ(opened.size(), 4);
    EXPECT_EQ(activated, 2);

    // A start without files only brings the running program to the front.
    EXPECT_TRUE(send({}));
    EXPECT_EQ(opened.size(), 4);
    EXPECT_EQ(activated, 3);
}

TEST_F(SingleInstanceTest, WithoutARunningProgramTheStartGoesOn) {
    EXPECT_FALSE(send({QStringLiteral("/tmp/a.hts")}, 500));
}

TEST_F(SingleInstanceTest, EachProgramFolderHasItsOwnRunningProgram) {
    QStringList opened;
    InstanceServer server([&](const QString& p) { opened << p; }, {});
    ASSERT_TRUE(server.listening());
    const QString first = vlr::instance::ServerName();
    const fs::path other = app / "other";
    fs::create_directories(other / "run");
    ::setenv("VELORA_APPDIR", other.c_str(), 1);
    EXPECT_NE(vlr::instance::ServerName(), first);
    EXPECT_FALSE(send({QStringLiteral("/tmp/a.hts")}, 500));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(SingleInstanceTest, ForwardingCanBeTurnedOff) {
    ::setenv("VELORA_SINGLE_INSTANCE", "0", 1);
    QStringList opened;
    InstanceServer server([&](const QString& p) { opened << p; }, {});
    EXPECT_FALSE(server.listening());
    EXPECT_FALSE(send({QStringLiteral("/tmp/a.hts")}, 500));
    ::unsetenv("VELORA_SINGLE_INSTANCE");
}

TEST_F(SingleInstanceTest, OnlyPlainFileArgumentsAreForwarded) {
    using vlr::instance::ForwardablePaths;
    EXPECT_TRUE(ForwardablePaths({}).isEmpty());
    EXPECT_TRUE(ForwardablePaths({QStringLiteral("a.hts"), QStringLiteral("--build")}).isEmpty());
    EXPECT_TRUE(ForwardablePaths({QStringLiteral("-x")}).isEmpty());
    const QStringList p = ForwardablePaths({QStringLiteral("sub/../a.hts"), QStringLiteral("/abs/b.vlr")});
    EXPECT_EQ(p, (QStringList{QDir::current().absoluteFilePath(QStringLiteral("a.hts")), QStringLiteral("/abs/b.vlr")}));
    // A path with a line break cannot travel in the request and is left out.
    EXPECT_EQ(ForwardablePaths({QStringLiteral("/a\nb.hts"), QStringLiteral("/c.hts")}), QStringList{QStringLiteral("/c.hts")});
}

TEST_F(SingleInstanceTest, ForeignOrEndlessRequestsAreDroppedUnanswered) {
    QStringList opened;
    InstanceServer server([&](const QString& p) { opened << p; }, {});
    ASSERT_TRUE(server.listening());
    auto talk = [&](const QByteArray& bytes) {
        auto r = std::async(std::launch::async, [&] {
            QLocalSocket s;
            s.connectToServer(vlr::instance::ServerName());
            if (!s.waitForConnected(1000))
                return QByteArray("no connection");
            s.write(bytes);
            s.waitForBytesWritten(1000);
            s.waitForReadyRead(500);
            return s.readAll();
        });
        while (r.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return r.get();
    };
    EXPECT_EQ(talk("GET / HTTP/1.0\n/etc/passwd\n\n"), QByteArray());
    EXPECT_EQ(talk("velora-open 1\n" + QByteArray(2 << 20, 'x')), QByteArray());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(SingleInstanceTest, SocketLeftByAKilledProgramIsTakenOver) {
    // A stale socket file under the name: nobody listens behind it.
    const QString name = vlr::instance::ServerName();
    {
        QLocalServer stale;
        ASSERT_TRUE(stale.listen(name));
        // Leave the file behind as a crash would.
        const QString file = stale.fullServerName();
        stale.close();
        QFile f(file);
        if (!f.exists()) {
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    QStringList opened;
    InstanceServer server([&](const QString& p) { opened << p; }, {});
    EXPECT_TRUE(server.listening());
    EXPECT_TRUE(send({QStringLiteral("/tmp/x.hts")}));
    EXPECT_EQ(opened, QStringList{QStringLiteral("/tmp/x.hts")});
}

namespace {
// Runs `child` in a forked process as the user "nobody" (65534) and returns
// what it wrote to the pipe, serving this process's events meanwhile.
std::string AsOtherUser(const std::function<void(int out)>& child) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        child(fds[1]);
        ::_exit(0);
    }
    ::close(fds[1]);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    std::string out;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, std::size_t(n));
    ::close(fds[0]);
    return out;
}

bool BecomeNobody() { return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0; }
}  // namespace

TEST_F(SingleInstanceTest, SocketIsInTheUsersPrivateRuntimeFolder) {
    InstanceServer server([](const QString&) {}, {});
    ASSERT_TRUE(server.listening());
    const QString name = vlr::instance::ServerName();
    EXPECT_TRUE(name.startsWith(QString::fromStdString((app / "run" / "velora").string() + "/"))) << name.toStdString();
    struct stat folder {};
    ASSERT_EQ(::lstat((app / "run" / "velora").c_str(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    struct stat socket {};
    ASSERT_EQ(::lstat(QFile::encodeName(name).constData(), &socket), 0);
    EXPECT_TRUE(S_ISSOCK(socket.st_mode));
    EXPECT_EQ(socket.st_uid, ::geteuid());
    EXPECT_EQ(socket.st_mode & 077, 0u);
}

TEST_F(SingleInstanceTest, AnotherUsersConnectionIsDroppedUnread) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    QStringList opened;
    InstanceServer server([&](const QString& p) { opened << p; }, {});
    ASSERT_TRUE(server.listening());
    const QByteArray name = QFile::encodeName(vlr::instance::ServerName());
    // Let the other user reach the socket, as wrong modes would.
    const std::string folder = (app / "run" / "velora").string();
    ::chmod((app / "run").c_str(), 0711);
    ::chmod(folder.c_str(), 0711);
    ::chmod(name.constData(), 0777);
    const std::string answer = AsOtherUser([&](int out) {
        if (!BecomeNobody())
            return (void)!::write(out, "setup failed", 12);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", name.constData());
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
            return (void)!::write(out, "no connection", 13);
        const char request[] = "velora-open 1\n/tmp/planted.hts\n\n";
        (void)!::write(fd, request, sizeof request - 1);
        char reply[16];
        const ssize_t n = ::read(fd, reply, sizeof reply);
        (void)!::write(out, n > 0 ? reply : "closed", n > 0 ? std::size_t(n) : 6);
    });
    ::chmod(folder.c_str(), 0700);
    ::chmod((app / "run").c_str(), 0700);
    EXPECT_EQ(answer, "closed");
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(SingleInstanceTest, PathsAreNeverSentToAnotherUsersListener) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    // Another user's program listens under the name (its socket was bound
    // before it changed user, as it could be through a wrong folder mode).
    const QByteArray name = QFile::encodeName(vlr::instance::ServerName());
    ASSERT_FALSE(name.isEmpty());
    int ready[2], got[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(got), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        ::close(got[0]);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", name.constData());
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || !BecomeNobody() || ::listen(fd, 1) != 0)
            ::_exit(1);
        (void)!::write(ready[1], "r", 1);
        const int peer = ::accept(fd, nullptr, nullptr);
        char buf[256];
        for (ssize_t n; peer >= 0 && (n = ::read(peer, buf, sizeof buf)) > 0;)
            (void)!::write(got[1], buf, std::size_t(n));
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(got[1]);
    char r = 0;
    ASSERT_EQ(::read(ready[0], &r, 1), 1);
    ::close(ready[0]);
    EXPECT_FALSE(vlr::instance::SendToRunning({QStringLiteral("/home/me/secret.hts")}, 2000));
    std::string received;
    char buf[256];
    for (ssize_t n; (n = ::read(got[0], buf, sizeof buf)) > 0;)
        received.append(buf, std::size_t(n));
    ::close(got[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_EQ(received, "");
}
