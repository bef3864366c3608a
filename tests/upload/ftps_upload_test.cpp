// Uploads over FTP with TLS, explicit (ftpes://, "AUTH TLS") and implicit
// (ftps://), to pyftpdlib's TLS server on 127.0.0.1 with a certificate made
// here by a test authority: trusted through its certificate, refused when
// the certificate names another host or comes from an unknown authority.
#include "FtpServer.h"
#include "SshServer.h"
#include "UploadTestSupport.h"

#include "libs/webpost/upload/Destination.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace uploadtest;
using namespace vlr::upload;
using Files = std::vector<std::string>;

namespace {

// A test authority and two server certificates signed by it, one for
// 127.0.0.1 and one for another name; each server file holds key and certificate.
bool MakeCertificates(const std::string& dir) {
    auto openssl = [](std::vector<std::string> args) {
        args.insert(args.begin(), "/usr/bin/openssl");
        return RunQuietly(args);
    };
    const std::vector<std::string> ecKey{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    auto withKey = [&](std::vector<std::string> args) {
        args.insert(args.begin() + 1, ecKey.begin(), ecKey.end());
        return openssl(args);
    };
    if (!withKey({"req", "-x509", "-days", "2", "-subj", "/CN=Velora Test Authority", "-keyout", dir + "ca.key",
                  "-out", dir + "ca.pem"}))
        return false;
    for (const auto& [name, altName] : {std::pair<std::string, std::string>{"good", "IP:127.0.0.1"},
                                        std::pair<std::string, std::string>{"wrong", "DNS:elsewhere.example"}}) {
        WriteFile(dir + name + ".ext", "subjectAltName=" + altName + "\n");
        if (!withKey({"req", "-subj", "/CN=" + name, "-keyout", dir + name + ".key", "-out", dir + name + ".csr"}) ||
            !openssl({"x509", "-req", "-days", "2", "-in", dir + name + ".csr", "-CA", dir + "ca.pem", "-CAkey",
                      dir + "ca.key", "-CAcreateserial", "-extfile", dir + name + ".ext", "-out", dir + name + ".crt"}))
            return false;
        WriteFile(dir + name + ".pem", ReadFile(dir + name + ".crt") + ReadFile(dir + name + ".key"));
    }
    return true;
}

class FtpsUpload : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(serverRoot());
        ASSERT_TRUE(MakeCertificates(site.root()));
        site.put("index.html", "<p>secure</p>");
        site.put("css/site.css", "p{}");
    }
    std::string serverRoot() const { return site.root() + "server/"; }
    UploadResult UploadTo(const FtpServer& server, const std::string& caFile, RecordingObserver& o) {
        UploadRequest r;
        r.localFolder = site.out();
        r.destination = *ParseDestination(server.url("www"));
        r.user = "webmaster";
        r.password = "secret";
        r.stateFolder = site.state();
        r.caFile = caFile;
        return Upload(r, o);
    }
    FtpTls Tls(FtpTls::Mode mode, const std::string& cert) const { return {mode, site.root() + cert}; }
    Site site;
};

TEST_F(FtpsUpload, ExplicitAndImplicitTlsSendFilesToAServerWithATrustedCertificate) {
    for (FtpTls::Mode mode : {FtpTls::Explicit, FtpTls::Implicit}) {
        std::filesystem::remove_all(serverRoot());
        std::filesystem::remove_all(site.state());
        std::filesystem::create_directories(serverRoot());
        FtpServer server(serverRoot(), "webmaster", "secret", 0, 0, Tls(mode, "good.pem"));
        ASSERT_TRUE(server.running());
        RecordingObserver o;
        UploadResult r = UploadTo(server, site.root() + "ca.pem", o);
        ASSERT_TRUE(r.ok()) << server.url() << ": " << r.error;
        EXPECT_EQ(Summary(r), "2 files sent, 0 unchanged");
        EXPECT_EQ(FilesUnder(serverRoot()), (Files{"www/css/site.css", "www/index.html"})) << server.url();
        EXPECT_EQ(ReadFile(serverRoot() + "www/index.html"), "<p>secure</p>");
    }
}

TEST_F(FtpsUpload, ACertificateForAnotherHostOrFromAnUnknownAuthorityIsRefused) {
    for (FtpTls::Mode mode : {FtpTls::Explicit, FtpTls::Implicit}) {
        FtpServer wrongName(serverRoot(), "webmaster", "secret", 0, 0, Tls(mode, "wrong.pem"));
        ASSERT_TRUE(wrongName.running());
        RecordingObserver o;
        UploadResult r = UploadTo(wrongName, site.root() + "ca.pem", o);
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.error.find("could not be verified"), std::string::npos) << wrongName.url() << ": " << r.error;
        EXPECT_TRUE(o.started.empty());

        // The right name, but the test authority is not among the system's.
        FtpServer unknown(serverRoot(), "webmaster", "secret", 0, 0, Tls(mode, "good.pem"));
        RecordingObserver o2;
        r = UploadTo(unknown, "", o2);
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.error.find("could not be verified"), std::string::npos) << unknown.url() << ": " << r.error;
        EXPECT_TRUE(FilesUnder(serverRoot()).empty());
    }
}

}  // namespace
