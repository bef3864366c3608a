// The link-check module as the editor windows use it: DoValidate announces
// the network activity, reports on the status line and remembers the result
// for GetHint.
#include "ModuleTestSupport.h"
#include "TestHttpServer.h"
#include "libs/EntryPoints.h"
#include "libs/validate/LocalLinks.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class ValidateModule : public ::testing::Test {
protected:
    void SetUp() override {
        vlrtest::App();
        ::unsetenv("http_proxy");
        ::unsetenv("HTTP_PROXY");
        doValidate = vlrtest::Entry<DoValidateFn>("validate", "DoValidate");
        getHint = vlrtest::Entry<GetHintFn>("validate", "GetHint");
        ASSERT_TRUE(doValidate && getHint);
    }
    std::vector<unsigned> numbers() const {
        std::vector<unsigned> n;
        for (const auto& r : main.received())
            n.push_back(r.msg);
        return n;
    }
    std::string status() const {
        for (auto it = main.received().rbegin(); it != main.received().rend(); ++it)
            if (it->msg == 3061)
                return it->first;
        return {};
    }
    DoValidateFn doValidate = nullptr;
    GetHintFn getHint = nullptr;
    vlrtest::FakeMainWindow main{false};
    vlrtest::TestHttpServer server;
};

}  // namespace

TEST_F(ValidateModule, HintIsEmptyUntilTheAddressIsChecked) {
    const std::string url = server.url("/ok");
    EXPECT_STREQ(getHint(0, url.c_str()), "");
    doValidate(0, url.c_str(), main.handle());
    EXPECT_EQ(numbers(), (std::vector<unsigned>{3033, 3034, 3061}));
    EXPECT_EQ(status(), "Link OK (200): " + url);
    EXPECT_EQ(std::string(getHint(0, url.c_str())).rfind("OK 200, checked ", 0), 0u);
    // The token as the editor reports it, with an upper-case scheme.
    const std::string upper = "HTTP" + url.substr(4);
    EXPECT_EQ(std::string(getHint(0, upper.c_str())).rfind("OK 200", 0), 0u);
}

TEST_F(ValidateModule, BrokenAndRedirectedAddresses) {
    const std::string missing = server.url("/missing"), moved = server.url("/moved");
    doValidate(0, missing.c_str(), main.handle());
    EXPECT_EQ(status(), "Broken link (404): " + missing);
    EXPECT_EQ(std::string(getHint(0, missing.c_str())).rfind("Broken: 404, checked ", 0), 0u);
    doValidate(0, moved.c_str(), main.handle());
    EXPECT_EQ(status(), "Link OK (200): " + moved + " -> " + server.url("/ok"));
}

TEST_F(ValidateModule, LocalFilesNeedNoConnection) {
    const auto file = std::filesystem::temp_directory_path() / ("vlr_validate_" + std::to_string(::getpid()) + ".html");
    std::ofstream(file) << "x";
    const std::string url = "file://" + file.string();
    doValidate(0, url.c_str(), main.handle());
    EXPECT_EQ(numbers(), (std::vector<unsigned>{3061}));
    EXPECT_EQ(status(), "Link OK: " + url);
    std::filesystem::remove(file);
    doValidate(0, url.c_str(), main.handle());
    EXPECT_EQ(status(), "Broken link: " + url);
}

TEST_F(ValidateModule, TextWithoutAddressIsReportedNotChecked) {
    doValidate(0, "<%title%>", main.handle());
    EXPECT_EQ(numbers(), (std::vector<unsigned>{3061}));
    EXPECT_EQ(status(), "Not a link address: <%title%>");
    EXPECT_STREQ(getHint(0, nullptr), "");
}

namespace {

// A site on disk: the document in its source folder, the built pages in the
// output folder, and a project file naming both relative to itself.
class RelativeLinks : public ValidateModule {
protected:
    void SetUp() override {
        ValidateModule::SetUp();
        site = std::filesystem::temp_directory_path() / ("vlr_rel_" + std::to_string(::getpid()));
        std::filesystem::remove_all(site);
        std::filesystem::create_directories(site / "src" / "img");
        std::filesystem::create_directories(site / "out");
        std::ofstream(site / "src" / "page.hts") << "<a href=\"here.html\">";
        std::ofstream(site / "src" / "here.html") << "x";
        std::ofstream(site / "src" / "img" / "a b.gif") << "x";
        std::ofstream(site / "out" / "built.html") << "x";
        std::ofstream(site / "site.vlr") << "[directories]\nsrc=src\nout=out\n";
        window.projectFile = (site / "site.vlr").string();
        auto* document = new QWidget;
        document->setWindowFilePath(QString::fromStdString((site / "src" / "page.hts").string()));
        window.area()->setActiveSubWindow(window.area()->addSubWindow(document));
    }
    void TearDown() override { std::filesystem::remove_all(site); }
    std::string check(const std::string& link) {
        doValidate(0, link.c_str(), window.handle());
        for (auto it = window.received().rbegin(); it != window.received().rend(); ++it)
            if (it->msg == 3061)
                return it->first;
        return {};
    }
    std::filesystem::path site;
    vlrtest::FakeMainWindow window;
};

}  // namespace

TEST(LocalLinks, WhatCountsAsARelativeLink) {
    using vlr::validate::IsRelativeLink;
    EXPECT_TRUE(IsRelativeLink("page.html"));
    EXPECT_TRUE(IsRelativeLink("../img/a.gif#top"));
    EXPECT_TRUE(IsRelativeLink("/about.html"));
    EXPECT_FALSE(IsRelativeLink("#top"));
    EXPECT_FALSE(IsRelativeLink("mailto:a@b.example"));
    EXPECT_FALSE(IsRelativeLink("http://example.com/"));
    EXPECT_FALSE(IsRelativeLink("<%title%>"));
    EXPECT_FALSE(IsRelativeLink("two words"));
    EXPECT_FALSE(IsRelativeLink(""));
    // Nothing to resolve against: no path at all rather than one from the current folder.
    EXPECT_EQ(vlr::validate::LocalLinkPath("page.html", {}), "");
    EXPECT_EQ(vlr::validate::LocalLinkPath("file:///tmp/x%20y.html?q#f", {}), "/tmp/x y.html");
}

TEST_F(RelativeLinks, FoundFromTheDocumentsFolderOrTheOutputFolder) {
    EXPECT_EQ(check("here.html"), "Link OK: here.html");
    EXPECT_EQ(check("\"built.html\""), "Link OK: built.html");   // only in the output folder
    EXPECT_EQ(check("/built.html#top"), "Link OK: /built.html#top");  // the site's root
    EXPECT_EQ(check("file://here.html"), "Link OK: file://here.html");
    EXPECT_EQ(check("img/a%20b.gif"), "Link OK: img/a%20b.gif");
    EXPECT_EQ(check("../src/img/none.gif"), "Broken link: ../src/img/none.gif");
    EXPECT_EQ(check("missing.html"), "Broken link: missing.html");
    EXPECT_EQ(std::string(getHint(0, "missing.html")).rfind("Broken", 0), 0u);
    EXPECT_EQ(std::string(getHint(0, "here.html")).rfind("OK", 0), 0u);
    EXPECT_EQ(window.count(3033), 0);  // no network for any of them
    EXPECT_EQ(check("#top"), "Not a link address: #top");
}

TEST_F(RelativeLinks, WithoutAFileOrAProjectTheyAreNotGuessed) {
    window.projectFile = "none";
    window.area()->currentSubWindow()->widget()->setWindowFilePath(QString());
    // The program's current folder holds the file, and still it is not taken.
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(site / "src");
    const std::string status = check("here.html");
    std::filesystem::current_path(before);
    EXPECT_EQ(status, "Cannot check a relative link of a document without a file or project: here.html");
    EXPECT_EQ(check("file://" + (site / "src" / "here.html").string()),
              "Link OK: file://" + (site / "src" / "here.html").string());
}
