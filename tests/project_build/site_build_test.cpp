// Behaviour of the site build beyond the golden cases: incremental builds and
// the build record, single-file and preview builds, atomic output, failures.
#include "BuildTestSupport.h"

#include "project/build/BuildRecord.h"
#include "project/build/SiteBuild.h"

#include <gtest/gtest.h>

using namespace buildtest;
using vlr::build::BuildRequest;
using vlr::build::BuildSite;
using vlr::build::BuildSummary;

namespace {

// A project of three pages in temp/src (one in a sub-folder) sharing an
// include that includes another, built into temp/out.
struct SmallSite {
    TempFolder temp;
    std::string project = temp / "site.vlr";

    SmallSite() {
        WriteFile(project,
                  "[files]\n0=" + (temp / "src/a.hts") + "\n1=" + (temp / "src/b.hts") + "\n2=" +
                      (temp / "src/sub/c.hts") + "\n[directories]\nsrc=" + (temp / "src") + "\nout=" +
                      (temp / "out") + "\n[variables]\nName=World\n");
        WriteFile(temp / "src/a.hts", "A <&head.inc&> <%Name%>\n");
        WriteFile(temp / "src/b.hts", "B plain\n");
        WriteFile(temp / "src/sub/c.hts", "C <&../head.inc&>\n");
        WriteFile(temp / "src/head.inc", "[head <&inner.inc&>]");
        WriteFile(temp / "src/inner.inc", "inner");
    }

    BuildSummary build(const std::string& file = {}, bool preview = false, RecordingReporter* reporter = nullptr) {
        BuildRequest r;
        r.projectFile = project;
        r.sourceFile = file;
        r.preview = preview;
        r.environment = FixedEnvironment();
        RecordingReporter own;
        return BuildSite(r, reporter ? *reporter : own);
    }
    std::string out(const std::string& name) const { return ReadFile(temp / ("out/" + name)); }
};

TEST(SiteBuild, PagesGoToTheOutputFolderWithTheirSubFolders) {
    SmallSite site;
    BuildSummary s = site.build();
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.built, 3);
    EXPECT_EQ(site.out("a.html"), "A [head inner] World\n");
    EXPECT_EQ(site.out("b.html"), "B plain\n");
    EXPECT_EQ(site.out("sub/c.html"), "C [head inner]\n");
}

TEST(SiteBuild, NothingChangedBuildsNothing) {
    SmallSite site;
    ASSERT_TRUE(site.build().ok);
    RecordingReporter r;
    BuildSummary s = site.build({}, false, &r);
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.built, 0);
    EXPECT_EQ(s.upToDate, 3);
    EXPECT_EQ(s.result, "0 pages built, 3 up to date");
    // Progress still counts every file.
    EXPECT_EQ(r.calls.front(), "3058 3");
    EXPECT_EQ(std::count(r.calls.begin(), r.calls.end(), "3059"), 3);
    EXPECT_EQ(r.calls.back(), "3060");
}

TEST(SiteBuild, AChangeRebuildsExactlyThePagesThatDependOnIt) {
    SmallSite site;
    ASSERT_TRUE(site.build().ok);

    // A nested include: the two pages that include it, at any depth.
    WriteFile(site.temp / "src/inner.inc", "INNER");
    Touch(site.temp / "src/inner.inc");
    BuildSummary s = site.build();
    EXPECT_EQ(s.built, 2);
    EXPECT_EQ(s.upToDate, 1);
    EXPECT_EQ(site.out("sub/c.html"), "C [head INNER]\n");

    // The page itself.
    WriteFile(site.temp / "src/b.hts", "B changed\n");
    Touch(site.temp / "src/b.hts");
    s = site.build();
    EXPECT_EQ(s.built, 1);
    EXPECT_EQ(site.out("b.html"), "B changed\n");

    // The project file: every page.
    Touch(site.project);
    EXPECT_EQ(site.build().built, 3);

    // A page removed or edited in the output folder is written again.
    std::filesystem::remove(site.temp / "out/b.html");
    WriteFile(site.temp / "out/a.html", "edited by hand");
    s = site.build();
    EXPECT_EQ(s.built, 2);
    EXPECT_EQ(site.out("a.html"), "A [head INNER] World\n");
}

TEST(SiteBuild, AnIncludeAppearingEarlierOnTheSearchPathRebuildsThePage) {
    SmallSite site;
    ASSERT_TRUE(site.build().ok);
    // c.hts found "../head.inc"; a.hts found "head.inc" in its own folder.
    // A "head.inc" beside c.hts changes nothing for c, but one in src/sub
    // named like a's include would; here a new file shadows the source
    // directory fallback of a page in a sub-folder.
    WriteFile(site.temp / "src/sub/d.hts", "D <&head.inc&>\n");
    WriteFile(site.project, ReadFile(site.project) + "");
    {
        std::string text = ReadFile(site.project);
        text.replace(text.find("[directories]"), 0, "3=" + (site.temp / "src/sub/d.hts") + "\n");
        WriteFile(site.project, text);
    }
    ASSERT_TRUE(site.build().ok);
    EXPECT_EQ(site.out("sub/d.html"), "D [head inner]\n");
    WriteFile(site.temp / "src/sub/head.inc", "[local head]");
    EXPECT_EQ(site.build().built, 1);
    EXPECT_EQ(site.out("sub/d.html"), "D [local head]\n");
}

TEST(SiteBuild, AFailedPageKeepsItsOldOutputAndIsTriedAgain) {
    SmallSite site;
    ASSERT_TRUE(site.build().ok);
    WriteFile(site.temp / "src/a.hts", "A <&gone.inc&>\n");
    Touch(site.temp / "src/a.hts");
    BuildSummary s = site.build();
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.failed, 1);
    EXPECT_EQ(s.result, "a.hts:1: include file \"gone.inc\" not found");
    EXPECT_EQ(site.out("a.html"), "A [head inner] World\n");
    // Still failing on the next build: it is not taken for up to date.
    EXPECT_FALSE(site.build().ok);
    WriteFile(site.temp / "src/gone.inc", "back");
    s = site.build();
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(site.out("a.html"), "A back\n");
}

TEST(SiteBuild, AnUnwritablePageFailsWithoutLeavingTemporaryFiles) {
    SmallSite site;
    // A folder where the page should go: the rename over it fails.
    std::filesystem::create_directories(site.temp / "out/b.html");
    BuildSummary s = site.build();
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.failed, 1);
    EXPECT_NE(s.result.find("b.hts: cannot write the page"), std::string::npos) << s.result;
    for (const auto& [name, text] : ReadTree(site.temp / "out"))
        EXPECT_EQ(name.find(".~"), std::string::npos) << name;
    EXPECT_EQ(site.out("a.html"), "A [head inner] World\n");
}

TEST(SiteBuild, SingleFileBuildAlwaysBuildsThatFileOnly) {
    SmallSite site;
    ASSERT_TRUE(site.build().ok);
    RecordingReporter r;
    BuildSummary s = site.build(site.temp / "src/b.hts", false, &r);
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.built, 1);
    EXPECT_EQ(r.calls.front(), "3058 1");
    // The record still knows the other pages.
    EXPECT_EQ(site.build().upToDate, 3);
}

TEST(SiteBuild, PreviewWritesBesideTheSourceAndFindsIncludesInTheSourceFolders) {
    SmallSite site;
    // The editor writes the unsaved text into the output folder's matching
    // sub-folder; its includes live in the source folder.
    WriteFile(site.temp / "out/sub/~123.hts", "P <&../head.inc&> <%Name%>");
    BuildSummary s = site.build(site.temp / "out/sub/~123.hts", true);
    ASSERT_TRUE(s.ok) << s.result;
    EXPECT_EQ(site.out("sub/~123.htm"), "P [head inner] World");
    // A preview never enters the record.
    vlr::build::BuildRecord record;
    record.Load(site.temp / "out/.vlrbuild");
    EXPECT_EQ(record.size(), 0u);
}

TEST(SiteBuild, ProblemsBeforeAnyPageFailTheBuildWithAReason) {
    TempFolder temp;
    BuildRequest r;
    r.projectFile = temp / "absent.vlr";
    RecordingReporter rec;
    BuildSummary s = BuildSite(r, rec);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.result, r.projectFile + ": cannot read the project file (No such file or directory)");
    EXPECT_EQ(rec.calls.front(), "3058 0");
    EXPECT_EQ(rec.calls.back(), "3060");

    WriteFile(temp / "p.vlr", "[files]\n0=a.hts\n[directories]\nsrc=.\n");
    r.projectFile = temp / "p.vlr";
    s = BuildSite(r, rec);
    EXPECT_FALSE(s.ok);
    EXPECT_NE(s.result.find("no output directory"), std::string::npos);
}

TEST(SiteBuild, APageThatWouldReplaceItsSourceIsRefused) {
    TempFolder temp;
    WriteFile(temp / "p.vlr", "[files]\n0=page.html\n[directories]\nsrc=.\nout=.\n");
    WriteFile(temp / "page.html", "original");
    BuildRequest r;
    r.projectFile = temp / "p.vlr";
    RecordingReporter rec;
    BuildSummary s = BuildSite(r, rec);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(ReadFile(temp / "page.html"), "original");
}

TEST(SiteBuild, OutputPathRule) {
    vlr::build::SiteProject p;
    p.SourceDir = "/site/src";
    p.OutputDir = "/site/out";
    EXPECT_EQ(OutputPathFor(p, "/site/src/index.hts", false), "/site/out/index.html");
    EXPECT_EQ(OutputPathFor(p, "/site/src/a/b/page.hts", false), "/site/out/a/b/page.html");
    EXPECT_EQ(OutputPathFor(p, "/elsewhere/x.hts", false), "/site/out/x.html");
    EXPECT_EQ(OutputPathFor(p, "/site/src/noext", false), "/site/out/noext.html");
    EXPECT_EQ(OutputPathFor(p, "/site/out/sub/~9.hts", true), "/site/out/sub/~9.htm");
}

}  // namespace

// Enough pages to be built on every core: the messages, their order, the pages
// and the record are those of a build one page after the other, and a
// refusal still stops the build at its page.
TEST(SiteBuild, ManyPagesBuildOnEveryCoreWithTheSameOutcome) {
    TempFolder temp;
    TempFolder outside;
    WriteFile(outside / "far.inc", "far");
    std::string project = "[directories]\nsrc=src\nout=out\n[variables]\nName=World\n[files]\n";
    constexpr int kPages = 300;
    for (int i = 0; i < kPages; ++i) {
        std::string text = "page " + std::to_string(i) + " <&part" + std::to_string(i % 7) + ".inc&> <%Name%>";
        if (i == 40)
            text = "one\n<&missing.inc&>";
        if (i == 41)
            text = "<%Nobody%>";
        if (i == 290)
            text = "<&" + (outside / "far.inc") + "&>";
        WriteFile(temp / ("src/p" + std::to_string(i) + ".hts"), text);
        project += std::to_string(i) + "=src/p" + std::to_string(i) + ".hts\n";
    }
    for (int p = 0; p < 7; ++p)
        WriteFile(temp / ("src/part" + std::to_string(p) + ".inc"), "[part " + std::to_string(p) + "]");
    WriteFile(temp / "site.vlr", project);

    BuildRequest r;
    r.projectFile = temp / "site.vlr";
    r.environment = FixedEnvironment();
    RecordingReporter rec;
    BuildSummary s = BuildSite(r, rec);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.built, 289);
    EXPECT_EQ(s.failed, 2);
    EXPECT_NE(s.refused.find("far.inc"), std::string::npos);
    // Every page in project order, each with its status line, up to the refused one.
    std::vector<std::string> expected{"3058 " + std::to_string(kPages)};
    for (int i = 0; i <= 290; ++i) {
        if (i == 40)
            expected.push_back("3061 p40.hts:2: include file \"missing.inc\" not found");
        else if (i == 41)
            expected.push_back("3061 p41.hts:1: undefined variable <%Nobody%>");
        else if (i == 290)
            expected.push_back("3061 p290.hts:1: the include file \"" + (outside / "far.inc") +
                               "\" lies outside the project's folder");
        else
            expected.push_back("3061 Built p" + std::to_string(i) + ".html");
        expected.push_back("3059");
    }
    ASSERT_GE(rec.calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(rec.calls.begin(), rec.calls.begin() + std::ptrdiff_t(expected.size())),
              expected);
    EXPECT_EQ(ReadFile(temp / "out/p123.html"), "page 123 [part 4] World");
    EXPECT_EQ(ReadFile(temp / "out/p41.html"), "<%Nobody%>");
    EXPECT_FALSE(std::filesystem::exists(temp / "out/p40.html"));
    EXPECT_FALSE(std::filesystem::exists(temp / "out/p291.html"));

    // The next build builds only what failed or was not reached.
    RecordingReporter again;
    r.allowOutside = [](const std::string&) { return true; };
    s = BuildSite(r, again);
    EXPECT_EQ(s.upToDate, 289);
    EXPECT_EQ(s.built, 10);
    EXPECT_EQ(ReadFile(temp / "out/p299.html"), "page 299 [part 5] World");
}
