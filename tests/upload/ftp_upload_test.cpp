// Uploads to an FTP server on 127.0.0.1: changed files only, dry runs, a
// connection dropped in the middle of a file, wrong credentials, deletions
// by absolute path.
#include "FtpServer.h"
#include "UploadTestSupport.h"

#include "libs/webpost/upload/Destination.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace uploadtest;
using namespace vlr::upload;
using Files = std::vector<std::string>;

namespace {

class FtpUpload : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(serverRoot()); }
    std::string serverRoot() const { return site.root() + "server/"; }
    UploadRequest Request(const FtpServer& server, const std::string& password = "secret") {
        UploadRequest r;
        r.localFolder = site.out();
        r.destination = *ParseDestination(server.url("www/site"));
        r.user = "webmaster";
        r.password = password;
        r.stateFolder = site.state();
        return r;
    }
    Site site;
};

TEST_F(FtpUpload, SendsChangedFilesOnlyIntoNewFoldersAndDryRunsSendNothing) {
    FtpServer server(serverRoot(), "webmaster", "secret");
    ASSERT_TRUE(server.running());
    site.put("index.html", "<h1>Hi</h1>");
    site.put("my pages/about us.html", "about");
    site.put("css/site.css", "p{}");

    UploadPlan dry = PlanUpload(Request(server));
    EXPECT_EQ(dry.toSend, 3);
    EXPECT_TRUE(FilesUnder(serverRoot()).empty());

    RecordingObserver first;
    UploadResult r = Upload(Request(server), first);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(Summary(r), "3 files sent, 0 unchanged");
    EXPECT_EQ(FilesUnder(serverRoot()),
              (Files{"www/site/css/site.css", "www/site/index.html", "www/site/my pages/about us.html"}));
    EXPECT_EQ(ReadFile(serverRoot() + "www/site/my pages/about us.html"), "about");

    RecordingObserver second;
    r = Upload(Request(server), second);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(Summary(r), "0 files sent, 3 unchanged");

    site.put("index.html", "<h1>Hello</h1>");
    RecordingObserver third;
    r = Upload(Request(server), third);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(third.finished, Files{"index.html"});
    EXPECT_EQ(ReadFile(serverRoot() + "www/site/index.html"), "<h1>Hello</h1>");
    EXPECT_EQ(FilesUnder(serverRoot()).size(), 3u);

    std::filesystem::remove(site.out("css/site.css"));
    UploadRequest withDelete = Request(server);
    withDelete.deleteRemoved = true;
    RecordingObserver fourth;
    r = Upload(withDelete, fourth);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.deleted, 1);
    EXPECT_FALSE(Exists(serverRoot() + "www/site/css/site.css"));
}

TEST_F(FtpUpload, AConnectionDroppedMidFileLeavesTheLiveFileWholeAndTheNextRunFinishes) {
    FtpServer server(serverRoot(), "webmaster", "secret");
    ASSERT_TRUE(server.running());
    const std::string v1(3 * 1024 * 1024, '1');
    site.put("a.html", "a");
    site.put("big.bin", v1);
    RecordingObserver first;
    ASSERT_TRUE(Upload(Request(server), first).ok());

    // Slow enough that the server is still reading when it goes away.
    ASSERT_TRUE(server.restart(512 * 1024));
    std::string v2(3 * 1024 * 1024, '2');
    site.put("a.html", "a2");
    site.put("big.bin", v2);
    RecordingObserver dropped;
    dropped.onBytes = [&](std::uint64_t done) {
        if (done >= 512 * 1024 && server.running() && dropped.finished == Files{"a.html"})
            server.kill();
    };
    UploadResult r = Upload(Request(server), dropped);
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.cancelled);
    EXPECT_NE(r.error.find("big.bin"), std::string::npos) << r.error;
    EXPECT_EQ(dropped.failed, Files{"big.bin"});
    // With the server gone, the partial file could not be cleared away, and that is said.
    EXPECT_NE(r.error.find("The partial file /www/site/.big.bin.part could not be removed"), std::string::npos)
        << r.error;
    // The live file is the old one, whole; the new bytes went to a temporary name.
    EXPECT_EQ(ReadFile(serverRoot() + "www/site/big.bin"), v1);
    EXPECT_EQ(ReadFile(serverRoot() + "www/site/a.html"), "a2");

    ASSERT_TRUE(server.restart(0));
    UploadPlan plan = PlanUpload(Request(server));
    EXPECT_EQ(plan.toSend, 1);
    RecordingObserver good;
    r = Upload(Request(server), good);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(good.finished, Files{"big.bin"});
    EXPECT_EQ(ReadFile(serverRoot() + "www/site/big.bin"), v2);
    EXPECT_EQ(FilesUnder(serverRoot()), (Files{"www/site/a.html", "www/site/big.bin"}));
}

TEST_F(FtpUpload, WrongCredentialsAndAMissingServerAreReportedClearlyAndRecordNothing) {
    FtpServer server(serverRoot(), "webmaster", "secret");
    site.put("index.html", "i");
    RecordingObserver o;
    UploadResult r = Upload(Request(server, "wrong"), o);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error, "The server 127.0.0.1:" + std::to_string(server.port()) +
                           " refused the user name or password.");
    EXPECT_TRUE(o.started.empty());
    EXPECT_EQ(PlanUpload(Request(server)).toSend, 1);

    const int port = server.port();
    server.kill();
    UploadRequest gone = Request(server);
    gone.destination = *ParseDestination("ftp://127.0.0.1:" + std::to_string(port) + "/");
    RecordingObserver o2;
    r = Upload(gone, o2);
    EXPECT_NE(r.error.find("Could not connect to 127.0.0.1"), std::string::npos) << r.error;
}

TEST_F(FtpUpload, CancelDuringAFileStopsAtOnceAndKeepsTheLiveSiteWhole) {
    FtpServer server(serverRoot(), "webmaster", "secret", 256 * 1024);
    site.put("big.bin", std::string(2 * 1024 * 1024, 'x'));
    RecordingObserver o;
    o.onBytes = [&](std::uint64_t done) {
        if (done >= 256 * 1024)
            o.cancel = true;
    };
    UploadResult r = Upload(Request(server), o);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.error.empty()) << r.error;
    EXPECT_FALSE(Exists(serverRoot() + "www/site/big.bin"));
    // The partial file was cleared away from the server.
    EXPECT_EQ(FilesUnder(serverRoot()), Files{});
    EXPECT_EQ(PlanUpload(Request(server)).toSend, 1);
}

TEST_F(FtpUpload, DeletionsAfterFilesSentIntoAFolderDeleteTheRightFileAndAFailedOneCounts) {
    FtpServer server(serverRoot(), "webmaster", "secret");
    ASSERT_TRUE(server.running());
    site.put("a.html", "a");
    site.put("b.html", "b");
    site.put("sub/page.html", "1");
    RecordingObserver first;
    ASSERT_TRUE(Upload(Request(server), first).ok());
    // A file whose path, taken from the folder the last file went to, is
    // the same as the path of a.html taken from the login folder.
    WriteFile(serverRoot() + "www/site/sub/www/site/a.html", "not this one");
    std::filesystem::remove(site.out("a.html"));
    site.put("sub/page.html", "2");
    UploadRequest withDelete = Request(server);
    withDelete.deleteRemoved = true;
    RecordingObserver second;
    UploadResult r = Upload(withDelete, second);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(second.finished, (Files{"sub/page.html", "a.html"}));
    EXPECT_FALSE(Exists(serverRoot() + "www/site/a.html"));
    EXPECT_EQ(ReadFile(serverRoot() + "www/site/sub/www/site/a.html"), "not this one");
    EXPECT_EQ(ReadFile(serverRoot() + "www/site/sub/page.html"), "2");

    // b.html cannot be deleted: a folder has taken its name on the server.
    std::filesystem::remove(serverRoot() + "www/site/b.html");
    WriteFile(serverRoot() + "www/site/b.html/inside.txt", "x");
    std::filesystem::remove(site.out("b.html"));
    RecordingObserver third;
    r = Upload(withDelete, third);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.deleted, 0);
    EXPECT_EQ(third.failed, Files{"b.html"});
    EXPECT_NE(r.error.find("Cannot delete b.html"), std::string::npos) << r.error;
    EXPECT_EQ(PlanUpload(withDelete).toDelete, 1);

    // A file already gone from the server needs no deleting.
    std::filesystem::remove_all(serverRoot() + "www/site/b.html");
    RecordingObserver fourth;
    r = Upload(withDelete, fourth);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.deleted, 1);
    EXPECT_EQ(PlanUpload(withDelete).toDelete, 0);
}

TEST_F(FtpUpload, TheRecordIsKeptForTheUserLoggedInAsHoweverTheNameWasGiven) {
    FtpServer server(serverRoot(), "webmaster", "secret");
    site.put("index.html", "i");
    RecordingObserver first;
    ASSERT_TRUE(Upload(Request(server), first).ok());
    UploadRequest inAddress = Request(server);
    inAddress.destination = *ParseDestination("ftp://webmaster@127.0.0.1:" + std::to_string(server.port()) + "/www/site");
    EXPECT_EQ(PlanUpload(inAddress).toSend, 0);
    UploadRequest otherUser = Request(server);
    otherUser.user = "someone";
    EXPECT_EQ(PlanUpload(otherUser).toSend, 1);
}

}  // namespace
