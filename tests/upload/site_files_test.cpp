// What an upload may publish: private files, preview pages, backups and
// whatever a link takes outside the output folder are never planned; a
// folder destination never writes through a link planted at its temporary
// names; the record of a project lives in the user's folder.
#include "UploadTestSupport.h"

#include "libs/webpost/upload/PublishRules.h"
#include "libs/webpost/upload/UploadState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace uploadtest;
using namespace vlr::upload;
using Files = std::vector<std::string>;

namespace {

Files Planned(const UploadPlan& plan) {
    Files out;
    for (const PlannedFile& f : plan.files)
        out.push_back(f.path);
    return out;
}

TEST(SiteFiles, PrivateFilesBackupsPreviewsAndLinksOutsideAreLeftOutAndListed) {
    Site site;
    site.put("index.html", "home");
    site.put("sub/page.html", "page");
    for (const char* name : {".vlrbuild", ".gitignore", ".git/config", ".git/objects/ab", "~tick.htm", "~page.htm",
                             "index.html~", "old.BAK", "#index.html#", "index.vlrrec", "sub/.page.html.part"})
        site.put(name, "private");
    WriteFile(site.root() + "secret/id_rsa", "PRIVATE KEY");
    fs::create_directories(site.out("assets"));
    fs::create_symlink(site.root() + "secret/id_rsa", site.out("assets/id_rsa"));
    fs::create_symlink(site.root() + "secret", site.out("keys"));
    fs::create_symlink("/etc/hostname", site.out("host.txt"));
    fs::create_symlink(".", site.out("loop"));
    fs::create_symlink("..", site.out("sub/up"));
    fs::create_symlink("missing.html", site.out("dangling.html"));
    // Links that stay inside the site are published under their own names.
    fs::create_symlink("index.html", site.out("start.html"));
    fs::create_symlink("sub", site.out("pages"));

    UploadPlan plan = PlanUpload(FolderRequest(site));
    ASSERT_TRUE(plan.ok()) << plan.error;
    EXPECT_EQ(Planned(plan), (Files{"index.html", "pages/page.html", "start.html", "sub/page.html"}));
    std::vector<std::pair<std::string, std::string>> left;
    for (const LeftOutFile& f : plan.leftOut)
        left.emplace_back(f.path, f.why);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"#index.html#", "private file"},
        {".git/", "private folder"},
        {".gitignore", "private file"},
        {".vlrbuild", "private file"},
        {"assets/id_rsa", "link outside the site"},
        {"dangling.html", "link to nothing"},
        {"host.txt", "link outside the site"},
        {"index.html~", "private file"},
        {"index.vlrrec", "private file"},
        {"keys/", "link outside the site"},
        {"loop/", "link back into a folder it lies in"},
        {"old.BAK", "private file"},
        {"pages/.page.html.part", "private file"},
        {"pages/up/", "link back into a folder it lies in"},
        {"sub/.page.html.part", "private file"},
        {"sub/up/", "link back into a folder it lies in"},
        {"~page.htm", "private file"},
        {"~tick.htm", "private file"},
    };
    EXPECT_EQ(left, expected);
    EXPECT_EQ(plan.leftOutFiles, 19);  // .git/ holds two files

    RecordingObserver o;
    UploadResult r = Upload(FolderRequest(site), o);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(FilesUnder(site.dest()), (Files{"index.html", "pages/page.html", "start.html", "sub/page.html"}));
    EXPECT_EQ(ReadFile(site.dest("start.html")), "home");
}

TEST(SiteFiles, ALinkTurnedOutwardsAfterThePlanIsNotSent) {
    Site site;
    site.put("a.html", "a");
    WriteFile(site.root() + "secret.txt", "secret");
    fs::create_symlink("a.html", site.out("b.html"));
    UploadRequest request = FolderRequest(site);
    UploadPlan plan = PlanUpload(request);
    ASSERT_EQ(plan.toSend, 2);
    fs::remove(site.out("b.html"));
    fs::create_symlink(site.root() + "secret.txt", site.out("b.html"));
    std::unique_ptr<Transport> transport = MakeTransport(request);
    RecordingObserver o;
    UploadResult r = RunUpload(request, plan, *transport, o);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(o.failed, Files{"b.html"});
    EXPECT_FALSE(Exists(site.dest("b.html")));
}

TEST(SiteFiles, TheRuleForPublishableNamesAndSafePaths) {
    for (const char* name : {"index.html", "a~b.html", "backup.html", "x.bak.html", "#notes", "café.html"})
        EXPECT_TRUE(MayBePublished(name)) << name;
    for (const char* name : {".htaccess", "~tick.htm", "page~", "a.bak", "a.Bak", "#a#", "a.vlrrec", ""})
        EXPECT_FALSE(MayBePublished(name)) << name;
    EXPECT_TRUE(MayBePublishedPath("css/site.css"));
    EXPECT_FALSE(MayBePublishedPath(".git/config"));
    EXPECT_FALSE(MayBePublishedPath("css/~preview.htm"));

    EXPECT_TRUE(IsSafeRelativePath("my pages/a.html"));
    for (const char* path : {"a\\b.html", "a\tb", "a\x1b[2Jb", "a\x7f", "../a", "/a", "a//b", "a\nb"})
        EXPECT_FALSE(IsSafeRelativePath(path)) << path;
    EXPECT_EQ(PrintablePath("a\x1b[2J"), "a\\x1b[2J");
}

TEST(SiteFiles, NamesThatCannotBeSentSafelyStopThePlan) {
    Site site;
    site.put("a.html", "a");
    site.put("win\\dows.html", "b");
    UploadPlan plan = PlanUpload(FolderRequest(site));
    EXPECT_FALSE(plan.ok());
    EXPECT_NE(plan.error.find("backslash"), std::string::npos) << plan.error;

    Site other;
    other.put("bell\a.html", "b");
    plan = PlanUpload(FolderRequest(other));
    EXPECT_FALSE(plan.ok());
    EXPECT_NE(plan.error.find("bell\\x07.html"), std::string::npos) << plan.error;
}

TEST(SiteFiles, AFolderDestinationNeverWritesThroughALinkAtItsTemporaryName) {
    Site site;
    site.put("index.html", "new page");
    site.put("sub/b.html", "b");
    WriteFile(site.root() + "victim.txt", "untouched");
    fs::create_directories(site.dest("sub"));
    fs::create_symlink(site.root() + "victim.txt", site.dest(".index.html.part"));
    fs::create_symlink(site.root() + "victim.txt", site.dest("sub/.b.html.part"));
    RecordingObserver o;
    UploadResult r = Upload(FolderRequest(site), o);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(ReadFile(site.root() + "victim.txt"), "untouched");
    EXPECT_EQ(ReadFile(site.dest("index.html")), "new page");
    EXPECT_FALSE(fs::is_symlink(site.dest("index.html")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(site.dest(".index.html.part"))));
    EXPECT_EQ(FilesUnder(site.dest()), (Files{"index.html", "sub/b.html"}));
}

TEST(SiteFiles, TheRecordOfAProjectIsKeptPrivatelyInTheUsersFolderNotBesideTheProject) {
    Site site;
    site.put("index.html", "i");
    const std::string config = std::getenv("XDG_CONFIG_HOME");
    const std::string state = StateFolderFor(site.project());
    EXPECT_EQ(state.rfind(config + "/velora/upload/", 0), 0u) << state;
    // The same project reached by another path shares its record.
    EXPECT_EQ(StateFolderFor(site.root() + "out/../site.vlr"), state);
    Site other;
    EXPECT_NE(StateFolderFor(other.project()), state);

    RecordingObserver o;
    ASSERT_TRUE(Upload(FolderRequest(site), o).ok());
    ASSERT_TRUE(RememberDestination(state, {site.dest(), "", site.out(), false}));
    EXPECT_FALSE(fs::exists(site.project() + ".upload"));
    EXPECT_EQ(FilesUnder(site.root()), (Files{"dest/index.html", "out/index.html", "site.vlr"}));
    struct stat st {};
    ASSERT_EQ(::stat(state.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

}  // namespace
