// The link-check module as the editor windows use it: DoValidate announces
// the network activity, reports on the status line and remembers the result
// for GetHint.
#include "ModuleTestSupport.h"
#include "TestHttpServer.h"
#include "libs/EntryPoints.h"

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
