// Address checks against a server on 127.0.0.1: found, missing, redirected,
// refused, silent; and the hints and status texts made of the results.
#include "TestHttpServer.h"
#include "libs/validate/LinkHints.h"
#include "libs/validate/LinkProber.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace vlr::validate;
using State = LinkResult::State;
using namespace std::chrono_literals;

namespace {

ProbeOptions Quick() {
    ProbeOptions o;
    o.timeLimit = 1500ms;
    o.connectLimit = 1000ms;
    return o;
}

class LinkProberTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Tests never go through a proxy.
        ::unsetenv("http_proxy");
        ::unsetenv("HTTP_PROXY");
        ::unsetenv("all_proxy");
        ::unsetenv("ALL_PROXY");
    }
    vlrtest::TestHttpServer server;
};

}  // namespace

TEST_F(LinkProberTest, FoundMissingAndRedirected) {
    const LinkResult ok = ProbeLink(server.url("/ok"), Quick());
    EXPECT_EQ(ok.state, State::Ok);
    EXPECT_EQ(ok.status, 200);
    EXPECT_EQ(ok.redirects, 0);

    const LinkResult missing = ProbeLink(server.url("/missing"), Quick());
    EXPECT_EQ(missing.state, State::Broken);
    EXPECT_EQ(missing.status, 404);

    const LinkResult moved = ProbeLink(server.url("/moved"), Quick());
    EXPECT_EQ(moved.state, State::Ok);
    EXPECT_EQ(moved.status, 200);
    EXPECT_EQ(moved.redirects, 1);
    EXPECT_EQ(moved.finalAddress, server.url("/ok"));
    EXPECT_EQ(HintText(moved).rfind("OK 200 via " + server.url("/ok") + ", checked ", 0), 0u);
}

TEST_F(LinkProberTest, HeadFirstThenGetWhenHeadIsRefused) {
    EXPECT_EQ(ProbeLink(server.url("/ok"), Quick()).state, State::Ok);
    const LinkResult r = ProbeLink(server.url("/nohead"), Quick());
    EXPECT_EQ(r.state, State::Ok);
    EXPECT_EQ(r.status, 200);
    const auto req = server.requests();
    EXPECT_EQ(req, (std::vector<std::string>{"HEAD /ok", "HEAD /nohead", "GET /nohead"}));
}

TEST_F(LinkProberTest, RefusedSilentAndLoopingAddressesAreUnreachable) {
    const LinkResult refused = ProbeLink("http://127.0.0.1:" + std::to_string(vlrtest::ClosedPort()) + "/", Quick());
    EXPECT_EQ(refused.state, State::Unreachable);
    EXPECT_FALSE(refused.error.empty());

    const auto before = std::chrono::steady_clock::now();
    const LinkResult slow = ProbeLink(server.url("/slow"), Quick());
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_EQ(slow.state, State::Unreachable);
    EXPECT_LT(took, 5s);  // bounded by the time limit, not by the server
    EXPECT_NE(HintText(slow).find("Unreachable: "), std::string::npos);

    EXPECT_EQ(ProbeLink(server.url("/loop"), Quick()).state, State::Unreachable);
}

TEST_F(LinkProberTest, SeveralAtOnceAndCancel) {
    LinkProber prober(Quick());
    for (const char* p : {"/ok", "/missing", "/moved", "/nohead"})
        prober.add(server.url(p));
    std::map<std::string, State> states;
    while (!prober.idle())
        for (const LinkResult& r : prober.poll(200ms))
            states[r.address] = r.state;
    EXPECT_EQ(states.size(), 4u);
    EXPECT_EQ(states[server.url("/missing")], State::Broken);
    EXPECT_EQ(states[server.url("/nohead")], State::Ok);

    LinkProber slow(Quick());
    slow.add(server.url("/slow"));
    slow.add(server.url("/slow"));
    EXPECT_TRUE(slow.poll(50ms).empty());
    slow.cancel();
    EXPECT_TRUE(slow.idle());
    EXPECT_TRUE(slow.poll(50ms).empty());
}

TEST(LinkHints, AddressInTokens) {
    EXPECT_EQ(AddressIn("HTTP://Example.com/Page"), "http://Example.com/Page");
    EXPECT_EQ(AddressIn("href=\"https://a.b/c?d=1\">"), "https://a.b/c?d=1");
    EXPECT_EQ(AddressIn("(see ftp://files.x/y.zip)."), "ftp://files.x/y.zip");
    EXPECT_EQ(AddressIn("file:///tmp/a b.html"), "file:///tmp/a");
    EXPECT_EQ(AddressIn("http://"), "");
    EXPECT_EQ(AddressIn("<%name%>"), "");
}

TEST(LinkHints, CacheAndTexts) {
    LinkCache cache;
    EXPECT_FALSE(cache.find("http://a/"));
    LinkResult r;
    r.address = "http://a/";
    r.state = State::Broken;
    r.status = 404;
    r.checkedAt = std::time(nullptr);
    cache.store(r);
    ASSERT_TRUE(cache.find("http://a/"));
    EXPECT_EQ(HintText(*cache.find("http://a/")).rfind("Broken: 404, checked ", 0), 0u);
    EXPECT_EQ(StatusText(r), "Broken link (404): http://a/");
    r.state = State::Ok;
    r.status = 200;
    cache.store(r);  // a new check replaces the old result
    EXPECT_EQ(HintText(*cache.find("http://a/")).rfind("OK 200, checked ", 0), 0u);
    EXPECT_EQ(StatusText(r), "Link OK (200): http://a/");
}

TEST(LinkHints, LocalFilesAreCheckedOnDisk) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vlr_local_" + std::to_string(::getpid()));
    fs::create_directories(dir / "sub");
    std::ofstream(dir / "page.html") << "x";
    std::ofstream(dir / "sub" / "index.html") << "x";
    EXPECT_EQ(CheckLocalPath("a", (dir / "page.html").string()).state, State::Ok);
    EXPECT_EQ(CheckLocalPath("a", (dir / "sub").string()).state, State::Ok);
    const LinkResult gone = CheckLocalPath("a", (dir / "gone.html").string());
    EXPECT_EQ(gone.state, State::Broken);
    EXPECT_EQ(HintText(gone).rfind("Broken: not found on disk", 0), 0u);
    fs::remove_all(dir);
}
