// "Open From the Web" against a server on 127.0.0.1 (a page, a redirect, a
// 404, a timeout, a file over the limit, a cancel) and the store of reusable
// documents (add, list, new from it).
#include "LocalHttpServer.h"
#include "ModuleTestSupport.h"

#include "libs/vlrsys/Repository.h"
#include "libs/vlrsys/RepositoryDialogs.h"
#include "libs/vlrsys/WebFetch.h"
#include "libs/vlrsys/WebOpen.h"
#include "platform/Record.h"
#include "platform/ScriptedPrompter.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace vlr::sys;

const std::string kPage = "<html><body><p>Hello from the test server</p></body></html>";

vlrtest::HttpReply Serve(const std::string& path) {
    if (path == "/page.html")
        return {"HTTP/1.1 200 OK\r\nContent-Type: text/html", kPage, 0};
    if (path == "/moved")
        return {"HTTP/1.1 302 Found\r\nLocation: /page.html", "", 0};
    if (path == "/loop")
        return {"HTTP/1.1 302 Found\r\nLocation: /loop", "", 0};
    if (path == "/slow")
        return {"HTTP/1.1 200 OK", kPage, 4000};
    if (path == "/big")
        return {"HTTP/1.1 200 OK", std::string(300000, 'x'), 0};
    return {"HTTP/1.1 404 Not Found", "missing", 0};
}

std::string ReadFile(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

FetchLimits Quick() {
    FetchLimits l;
    l.timeoutSeconds = 1;
    l.connectSeconds = 1;
    l.maxBytes = 100000;
    return l;
}

TEST(WebFetch, APageARedirectAndTheFailures) {
    vlrtest::LocalHttpServer server(Serve);
    FetchResult page = FetchUrl(server.Url("/page.html"), Quick());
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_EQ(page.body, kPage);
    FetchResult moved = FetchUrl(server.Url("/moved"), Quick());
    ASSERT_TRUE(moved.ok) << moved.error;
    EXPECT_EQ(moved.body, kPage);
    EXPECT_EQ(moved.finalUrl, server.Url("/page.html"));

    FetchResult missing = FetchUrl(server.Url("/none"), Quick());
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.status, 404);
    EXPECT_NE(missing.error.find("404"), std::string::npos);

    FetchResult loop = FetchUrl(server.Url("/loop"), Quick());
    EXPECT_FALSE(loop.ok);
    EXPECT_NE(loop.error.find("redirects"), std::string::npos);

    FetchResult slow = FetchUrl(server.Url("/slow"), Quick());
    EXPECT_FALSE(slow.ok);
    EXPECT_NE(slow.error.find("did not answer in time"), std::string::npos) << slow.error;

    FetchResult big = FetchUrl(server.Url("/big"), Quick());
    EXPECT_FALSE(big.ok);
    EXPECT_TRUE(big.body.empty());
    EXPECT_NE(big.error.find("larger than"), std::string::npos) << big.error;

    FetchResult cancelled = FetchUrl(server.Url("/slow"), Quick(), [](std::int64_t, std::int64_t) { return false; });
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.ok);
}

TEST(WebFetch, OnlyWebAddressesAreFetched) {
    EXPECT_EQ(NormaliseAddress("  example.org/a "), "http://example.org/a");
    EXPECT_EQ(NormaliseAddress("HTTPS://x"), "HTTPS://x");
    EXPECT_EQ(NormaliseAddress("file:///etc/passwd"), "");
    const FetchResult r = FetchUrl("ftp://127.0.0.1/x", Quick());
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("not a web address"), std::string::npos);
}

TEST(WebFetch, TheTemporaryFileFollowsTheAddress) {
    const fs::path dir = fs::temp_directory_path() / ("webtmp-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string a = SaveToTempFile(dir.string(), "http://h/x/style.css?v=1", "body{}");
    EXPECT_TRUE(a.ends_with(".css"));
    EXPECT_EQ(ReadFile(a), "body{}");
    EXPECT_TRUE(SaveToTempFile(dir.string(), "http://h/", "x").ends_with(".html"));
    EXPECT_TRUE(SaveToTempFile(dir.string(), "http://h.org", "x").ends_with(".html"));
    EXPECT_EQ(SaveToTempFile((dir / "none" / "deeper").string(), "http://h/", "x"), "");
    fs::remove_all(dir);
}

// Records what reaches the main window.
class MainSpy : public vlr::MessageHandler {
public:
    MainSpy() { handle = vlr::RegisterWindow(this, "TFrmMainVLR"); }
    ~MainSpy() override { vlr::UnregisterWindow(handle); }
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        vlr::RecordPtr r = vlr::AdoptRecord(lParam);
        got.push_back({msg, r ? r->first : "", r ? r->second : ""});
        return 0;
    }
    struct Got {
        unsigned msg;
        std::string first, second;
    };
    vlr::Handle handle = 0;
    std::vector<Got> got;
};

TEST(WebOpen, TheFetchedPageIsOpenedThroughTheMainWindowAndFailuresAreShown) {
    vlrtest::App();
    vlr::ScriptedPrompter prompter;
    vlrtest::LocalHttpServer server(Serve);
    MainSpy spy;
    const std::string file = OpenFromWeb(server.Url("/page.html"), Quick(), spy.handle, nullptr);
    ASSERT_EQ(spy.got.size(), 1u);
    EXPECT_EQ(spy.got[0].msg, 3057u);
    EXPECT_EQ(spy.got[0].first, file);
    EXPECT_EQ(ReadFile(file), kPage);
    fs::remove(file);

    EXPECT_EQ(OpenFromWeb(server.Url("/nothing"), Quick(), spy.handle, nullptr), "");
    EXPECT_EQ(spy.got.size(), 1u);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].kind, vlr::MessageKind::Error);
}

class RepositoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = (fs::temp_directory_path() / ("repo-" + std::to_string(::getpid()))).string() + "/";
        fs::remove_all(app);
        fs::create_directories(app + "templates");
        std::ofstream(app + "templates/normal.htf") << "<html>normal</html>";
        std::ofstream(app + "page.html") << "<html>mine</html>";
    }
    void TearDown() override { fs::remove_all(app); }
    std::string app;
};

TEST_F(RepositoryTest, AddListAndNewFromIt) {
    Repository repo(app);
    repo.Add(app + "page.html", "Home page", "Our usual start page", "Pages");
    EXPECT_TRUE(repo.Exists("Pages", "Home page", app + "page.html"));
    const auto items = repo.Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].category, kTemplatesCategory);
    EXPECT_EQ(items[0].name, "normal");
    EXPECT_EQ(items[1].category, "Pages");
    EXPECT_EQ(items[1].name, "Home page");
    EXPECT_EQ(items[1].description, "Our usual start page");
    EXPECT_EQ(ReadFile(items[1].path), "<html>mine</html>");
    EXPECT_EQ(repo.Categories(), std::vector<std::string>{"Pages"});

    vlrtest::App();
    TRepositoryDialog dialog(items);
    dialog.Select(items[1].path);
    EXPECT_EQ(dialog.SelectedPath(), items[1].path);
    EXPECT_EQ(dialog.Preview->toPlainText(), "<html>mine</html>");
    EXPECT_EQ(dialog.ItemTree->topLevelItemCount(), 2);
    if (const char* shots = std::getenv("VELORA_SCREENSHOTS"))
        dialog.grab().save(QString::fromUtf8(shots) + QStringLiteral("/repository.png"));

    MainSpy spy;
    OpenNewFrom(spy.handle, dialog.SelectedPath());
    ASSERT_EQ(spy.got.size(), 1u);
    EXPECT_EQ(spy.got[0].msg, 3063u);
    EXPECT_EQ(spy.got[0].first + spy.got[0].second, items[1].path);
}

// An installed program's folder is read-only: the documents the user adds go
// to the user's own folder, and the shipped templates are still listed first.
TEST_F(RepositoryTest, StoredDocumentsLiveInTheStoreFolderTemplatesInTheProgramFolder) {
    const std::string user = app.substr(0, app.size() - 1) + "-user/";
    fs::remove_all(user);
    Repository repo(app, user);
    EXPECT_EQ(repo.Folder(), user + "repository/");
    const RepositoryItem added = repo.Add(app + "page.html", "Home page", "start", "Pages");
    EXPECT_EQ(added.path, user + "repository/Pages/Home page.html");
    EXPECT_EQ(ReadFile(added.path), "<html>mine</html>");
    EXPECT_FALSE(fs::exists(app + "repository"));
    const auto items = Repository(app, user).Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].path, app + "templates/normal.htf");
    EXPECT_EQ(items[1].path, added.path);
    fs::remove_all(user);
}

TEST_F(RepositoryTest, BadNamesAndMissingFilesAreRefusedAndNothingIsWritten) {
    Repository repo(app);
    EXPECT_THROW(repo.Add(app + "page.html", "../escape", "", "Pages"), ERepositoryError);
    EXPECT_THROW(repo.Add(app + "page.html", "ok", "", "a/b"), ERepositoryError);
    EXPECT_THROW(repo.Add(app + "page.html", "", "", "Pages"), ERepositoryError);
    EXPECT_THROW(repo.Add(app + "gone.html", "ok", "", "Pages"), ERepositoryError);
    EXPECT_FALSE(fs::exists(app + "repository/Pages"));
    EXPECT_EQ(repo.Items().size(), 1u);
}

}  // namespace
