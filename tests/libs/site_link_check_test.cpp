// Link extraction from pages and the check of a whole built site.
#include "TestHttpServer.h"
#include "libs/validate/LinkExtract.h"
#include "libs/validate/SiteLinkCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vlr::validate;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(LinkExtract, HrefAndSrcWithTheirLines) {
    const std::string html =
        "<html>\r\n<a href=\"a.html\">A</a> <IMG SRC='img/b.gif'>\n"
        "<!-- <a href=\"commented.html\"> -->\n"
        "<script>var s = '<a href=\"scripted.html\">';</script>\n"
        "<a class=x\n   href = c.html?x=1&amp;y=2#top>C</a>\r"
        "<link rel=stylesheet href=\"  style.css \">\n"
        "<p title=\"href=no.html\">";
    const std::vector<PageLink> links = ExtractLinks(html);
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[0].target, "a.html");
    EXPECT_EQ(links[0].line, 2);
    EXPECT_EQ(links[1].target, "img/b.gif");
    EXPECT_EQ(links[1].line, 2);
    EXPECT_EQ(links[2].target, "c.html?x=1&y=2#top");
    EXPECT_EQ(links[2].line, 6);
    EXPECT_EQ(links[3].target, "style.css");
    EXPECT_EQ(links[3].line, 7);
}

TEST(LinkExtract, KindsAndResolution) {
    EXPECT_EQ(KindOfLink("HTTP://x/"), LinkKind::External);
    EXPECT_EQ(KindOfLink("//cdn.x/a.js"), LinkKind::External);
    EXPECT_EQ(KindOfLink("mailto:me@x"), LinkKind::Ignored);
    EXPECT_EQ(KindOfLink("javascript:void(0)"), LinkKind::Ignored);
    EXPECT_EQ(KindOfLink("#top"), LinkKind::Ignored);
    EXPECT_EQ(KindOfLink(""), LinkKind::Ignored);
    EXPECT_EQ(KindOfLink("a:b/c.html"), LinkKind::Ignored);
    EXPECT_EQ(KindOfLink("dir/a:b.html"), LinkKind::Internal);
    EXPECT_EQ(KindOfLink("../a.html"), LinkKind::Internal);
    EXPECT_EQ(ResolveInternal("../a%20b.html#x", "/site/sub", "/site"), "/site/a b.html");
    EXPECT_EQ(ResolveInternal("/img/c.gif?v=2", "/site/sub", "/site"), "/site/img/c.gif");
    EXPECT_EQ(ResolveInternal("file:///tmp/x.html", "/site", "/site"), "/tmp/x.html");
}

namespace {

void Write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

class SiteCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("http_proxy");
        ::unsetenv("HTTP_PROXY");
        root = fs::temp_directory_path() / ("vlr_site_" + std::to_string(::getpid()));
        fs::remove_all(root);
        out = root / "out";
        src = root / "src";
    }
    void TearDown() override { fs::remove_all(root); }
    static ProbeOptions Quick() {
        ProbeOptions o;
        o.timeLimit = 1500ms;
        o.connectLimit = 1000ms;
        return o;
    }
    fs::path root, out, src;
    vlrtest::TestHttpServer server;
};

}  // namespace

TEST_F(SiteCheckTest, BrokenInternalAndExternalLinksWithPageAndLine) {
    Write(out / "index.html",
          "<html>\n"
          "<a href=\"about.html\">ok</a>\n"
          "<a href=\"missing.html\">broken</a>\n"
          "<img src=\"img/logo.gif\">\n"
          "<a href=\"" + server.url("/ok") + "\">ok</a>\n"
          "<a href=\"" + server.url("/missing") + "\">404</a>\n"
          "<a href=\"mailto:me@example.invalid\">mail</a> <a href=\"#top\">top</a>\n"
          "<a href=\"/sub/\">folder</a>\n");
    Write(out / "about.html", "<a href=\"" + server.url("/missing") + "\">again</a>");
    Write(out / "img" / "logo.gif", "GIF89a");
    Write(out / "sub" / "index.html", "<a href=\"../about.html\">up</a>\n<a href=\"../nothere.htm\">gone</a>");
    Write(src / "index.hts", "<!-- source -->\n\n\n\n<a href=\"missing.html\">broken</a>\n");

    SiteLinkCheck check(out.string(), src.string(), Quick());
    check.start();
    EXPECT_EQ(check.pages(), 3u);
    int steps = 0;
    while (check.step(100ms))
        ASSERT_LT(++steps, 200);
    EXPECT_EQ(check.total(), 9u);
    EXPECT_EQ(check.checked(), 9u);
    const std::vector<BrokenLink> b = check.broken();
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[0].page, (out / "about.html").string());
    EXPECT_EQ(b[0].reason, "404");
    EXPECT_EQ(b[0].sourcePage, "");
    EXPECT_EQ(b[1].page, (out / "index.html").string());
    EXPECT_EQ(b[1].target, "missing.html");
    EXPECT_EQ(b[1].line, 3);
    EXPECT_EQ(b[1].reason, "not found on disk");
    EXPECT_EQ(b[1].sourcePage, (src / "index.hts").string());
    EXPECT_EQ(b[1].sourceLine, 5);
    EXPECT_EQ(b[2].line, 6);
    EXPECT_EQ(b[2].target, server.url("/missing"));
    EXPECT_EQ(b[3].page, (out / "sub" / "index.html").string());
    EXPECT_EQ(b[3].line, 2);
    // The same address on two pages is fetched once.
    int fetches = 0;
    for (const std::string& r : server.requests())
        fetches += r.find("/missing") != std::string::npos && r.rfind("HEAD", 0) == 0;
    EXPECT_EQ(fetches, 1);
}

TEST_F(SiteCheckTest, CancelStopsAtOnce) {
    Write(out / "index.html", "<a href=\"" + server.url("/slow") + "\">1</a><a href=\"" + server.url("/slow?2") +
                                  "\">2</a><a href=\"nope.html\">3</a>");
    SiteLinkCheck check(out.string(), "", Quick());
    check.start();
    EXPECT_TRUE(check.step(50ms));
    check.cancel();
    EXPECT_FALSE(check.step(50ms));
    EXPECT_TRUE(check.cancelled());
    EXPECT_EQ(check.checked(), 1u);  // only the file link
    EXPECT_EQ(check.broken().size(), 1u);
}

TEST_F(SiteCheckTest, MissingOutputFolderChecksNothing) {
    SiteLinkCheck check((root / "none").string(), "", Quick());
    check.start();
    EXPECT_FALSE(check.step(10ms));
    EXPECT_EQ(check.pages(), 0u);
}
