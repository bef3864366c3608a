// Uploads over SFTP to OpenSSH's sshd on 127.0.0.1, logged in with a key:
// files sent, replaced and deleted; hosts whose key is unknown or changed,
// and a missing known-hosts file, are refused before anything is sent.
#include "SshServer.h"
#include "UploadTestSupport.h"

#include "libs/webpost/upload/Destination.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace uploadtest;
using namespace vlr::upload;
using Files = std::vector<std::string>;

namespace {

class SftpUpload : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(serverRoot());
        ASSERT_TRUE(server.running()) << server.problem();
    }
    std::string serverRoot() const { return site.root() + "server/"; }
    UploadRequest Request(const std::string& knownHosts) const {
        UploadRequest r;
        r.localFolder = site.out();
        r.destination = *ParseDestination(server.url(serverRoot() + "www"));
        r.user = server.user();
        r.stateFolder = site.state();
        r.knownHostsFile = knownHosts;
        r.sshKeyFile = server.clientKey();
        return r;
    }
    Site site;
    SshServer server{site.root() + "ssh/"};
};

TEST_F(SftpUpload, SendsReplacesAndDeletesFilesOnAKnownHost) {
    const std::string known = server.knownHosts(site.root() + "known_hosts");
    site.put("index.html", "<p>one</p>");
    site.put("my pages/about \"us\".html", "about");
    site.put("old.html", "old");
    RecordingObserver first;
    UploadResult r = Upload(Request(known), first);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(FilesUnder(serverRoot()), (Files{"www/index.html", "www/my pages/about \"us\".html", "www/old.html"}));
    EXPECT_EQ(ReadFile(serverRoot() + "www/my pages/about \"us\".html"), "about");

    site.put("index.html", "<p>two</p>");
    std::filesystem::remove(site.out("old.html"));
    UploadRequest again = Request(known);
    again.deleteRemoved = true;
    RecordingObserver second;
    r = Upload(again, second);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(Summary(r), "1 files sent, 1 unchanged, 1 deleted");
    EXPECT_EQ(ReadFile(serverRoot() + "www/index.html"), "<p>two</p>");
    // No temporary names are left behind.
    EXPECT_EQ(FilesUnder(serverRoot()), (Files{"www/index.html", "www/my pages/about \"us\".html"}));
}

TEST_F(SftpUpload, AnUnknownOrChangedHostKeyOrNoKnownHostsFileIsRefused) {
    site.put("index.html", "i");
    auto refused = [&](const std::string& knownHosts, const std::string& expected) {
        RecordingObserver o;
        UploadResult r = Upload(Request(knownHosts), o);
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.error.find(expected), std::string::npos) << r.error;
        EXPECT_TRUE(o.started.empty());
        EXPECT_TRUE(FilesUnder(serverRoot()).empty());
    };
    // A known-hosts file that names other hosts only.
    WriteFile(site.root() + "others", "[127.0.0.1]:1 " + ReadFile(site.root() + "ssh/other_host_key.pub"));
    refused(site.root() + "others", "could not be verified");
    refused(server.knownHosts(site.root() + "changed", false), "could not be verified");
    refused(site.root() + "missing", "there is no known-hosts file " + site.root() + "missing");

    RecordingObserver good;
    UploadResult r = Upload(Request(server.knownHosts(site.root() + "known")), good);
    EXPECT_TRUE(r.ok()) << r.error;
}

TEST_F(SftpUpload, ACancelledFileLeavesNeitherItNorItsPartialFileOnTheServer) {
    const std::string known = server.knownHosts(site.root() + "known_hosts");
    site.put("big.bin", std::string(8 * 1024 * 1024, 'x'));
    RecordingObserver o;
    o.onBytes = [&](std::uint64_t done) {
        if (done >= 256 * 1024)
            o.cancel = true;
    };
    UploadResult r = Upload(Request(known), o);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.error.empty()) << r.error;
    EXPECT_EQ(FilesUnder(serverRoot()), Files{});
    EXPECT_EQ(PlanUpload(Request(known)).toSend, 1);
}

}  // namespace
