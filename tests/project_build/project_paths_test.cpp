// The project's path model and the build's reading of a project stored with
// relative paths, as the example site is.
#include "BuildTestSupport.h"

#include "project/build/ProjectPaths.h"
#include "project/build/SiteBuild.h"
#include "project/build/SiteProject.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace buildtest;
using namespace vlr::build;

TEST(ProjectPaths, StoredPathsAreResolvedFromTheProjectFolderAndWrittenBackInTheirForm) {
    EXPECT_EQ(ProjectFolderOf("/home/ann/site/site.vlr"), "/home/ann/site");
    EXPECT_EQ(ProjectFolderOf("/home/ann/site/./sub/../site.vlr"), "/home/ann/site");
    EXPECT_EQ(ProjectFolderOf("site.vlr"), "");

    const std::string base = "/home/ann/site";
    EXPECT_EQ(ResolveProjectPath(base, "src"), "/home/ann/site/src");
    EXPECT_EQ(ResolveProjectPath(base, "./src/"), "/home/ann/site/src");
    EXPECT_EQ(ResolveProjectPath(base, "../shared/x.hts"), "/home/ann/shared/x.hts");
    EXPECT_EQ(ResolveProjectPath(base, "/var/www/"), "/var/www");
    EXPECT_EQ(ResolveProjectPath(base, ""), "");

    // Relative stays relative, also for a path outside the folder; absolute
    // stays absolute.
    for (const char* stored : {"src", "src/blog/new.hts", "../shared/x.hts", "public/images"}) {
        const std::string full = ResolveProjectPath(base, stored);
        EXPECT_EQ(StoredProjectPath(base, full, true), stored) << stored;
        EXPECT_EQ(StoredProjectPath(base, full, false), full) << stored;
    }
    EXPECT_EQ(StoredProjectPath(base, base, true), ".");
    EXPECT_EQ(StoredProjectPath(base, "", true), "");
    // Saved into another folder, a relative entry keeps pointing at its file.
    EXPECT_EQ(StoredProjectPath("/home/ann/copy", "/home/ann/site/src/a.hts", true), "../site/src/a.hts");
    EXPECT_EQ(StoredProjectPath("/", "/srv/a.hts", true), "srv/a.hts");

    // A file added later is kept relative only inside the folder of a
    // project that keeps its folders relative.
    EXPECT_TRUE(KeepsRelative(base, "/home/ann/site/src/new.hts", true));
    EXPECT_FALSE(KeepsRelative(base, "/home/ann/site/src/new.hts", false));
    EXPECT_FALSE(KeepsRelative(base, "/home/ann/other/new.hts", true));
    EXPECT_FALSE(KeepsRelative(base, "/home/ann/site2/new.hts", true));

    EXPECT_TRUE(SamePath("/a/src/./index.hts", "/a/src/blog/../index.hts"));
    EXPECT_FALSE(SamePath("/a/src/Index.hts", "/a/src/index.hts"));
}

TEST(ProjectPaths, TheFilesSectionIsReadKeyByKeyInFileOrder) {
    // Keys 0, 1 and 3 are three files; an empty value is none; a key repeated
    // (in any letter case) is read once.
    const std::vector<std::pair<std::string, std::string>> section{
        {"0", "src/index.hts"}, {"1", "/abs/b.hts"}, {"3", "src/blog/c.hts"},
        {"4", ""},              {"0", "src/dup.hts"}};
    EXPECT_EQ(ProjectFileEntries(section, "/s"),
              (std::vector<std::string>{"/s/src/index.hts", "/abs/b.hts", "/s/src/blog/c.hts"}));

    EXPECT_EQ(OutputFolderOf("/s/src", "/s/src/blog/c.hts"), "blog");
    EXPECT_EQ(OutputFolderOf("/s/src", "/s/src/index.hts"), "");
    EXPECT_EQ(OutputFolderOf("/s/src", "/elsewhere/x.hts"), "");
    EXPECT_EQ(BuiltPagePath("/s/src", "/s/public", "/s/src/blog/new.hts"), "/s/public/blog/new.html");
    EXPECT_EQ(BuiltPagePath("/s/src", "/s/public", "/s/src/noext"), "/s/public/noext.html");
}

// A relative project with a gap in its file keys, built from another working
// folder by a relative project path: every listed file is built where the
// path model places it.
TEST(ProjectPaths, ARelativeProjectWithAGapIsBuiltWholeFromAnotherWorkingFolder) {
    TempFolder temp;
    WriteFile(temp / "site/site.vlr",
              "[files]\n0=src/index.hts\n1=src/about.hts\n3=src/blog/walk.hts\n"
              "[directories]\nsrc=src\nout=public\nimg=public/images\n");
    WriteFile(temp / "site/src/index.hts", "index");
    WriteFile(temp / "site/src/about.hts", "about");
    WriteFile(temp / "site/src/blog/walk.hts", "walk");
    WriteFile(temp / "elsewhere/keep", "");

    SiteProject project;
    std::string error;
    ASSERT_TRUE(ReadSiteProject(temp / "site/site.vlr", project, error)) << error;
    EXPECT_EQ(project.Files.size(), 3u);
    EXPECT_EQ(project.ImageDir, temp / "site/public/images");

    char old[4096];
    ASSERT_NE(::getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(::chdir((temp / "elsewhere").c_str()), 0);
    RecordingReporter reporter;
    BuildRequest request;
    request.projectFile = "../site/site.vlr";
    request.environment = FixedEnvironment();
    const BuildSummary summary = BuildSite(request, reporter);
    ASSERT_EQ(::chdir(old), 0);

    EXPECT_TRUE(summary.ok) << summary.result;
    EXPECT_EQ(summary.built, 3);
    EXPECT_EQ(ReadFile(temp / "site/public/blog/walk.html"), "walk");
    EXPECT_EQ(ReadFile(temp / "site/public/index.html"), "index");
}

}  // namespace
