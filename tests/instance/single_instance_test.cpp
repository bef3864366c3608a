// A second start hands its files to the running program: the request over the
// local socket, its receipt, and which starts forward at all.
#include "app/instance/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
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
        fs::create_directories(app);
        ::setenv("VELORA_APPDIR", app.c_str(), 1);
        ::unsetenv("VELORA_SINGLE_INSTANCE");
    }
    void TearDown() override {
        ::unsetenv("VELORA_APPDIR");
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
    fs::create_directories(other);
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
