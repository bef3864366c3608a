// Pages built in memory for the live preview: the project's includes and
// variables expanded from unsaved text, problems placed at their files and
// lines, the way back from the output to the source, and the offsets of the
// elements for the preview's own script.
#include "BuildTestSupport.h"

#include "project/build/LivePage.h"

#include <gtest/gtest.h>

#include <regex>

using namespace buildtest;
using vlr::build::LivePage;
using vlr::build::LivePageBuilder;
using vlr::build::LivePageRequest;

namespace {

// A project stored as the example site stores it: folders relative to the project file.
struct Site {
    TempFolder temp;
    Site() {
        WriteFile(temp / "site.vlr",
                  "[files]\n0=src/index.hts\n1=src/blog/post.hts\n[directories]\nsrc=src\nout=public\n"
                  "[Compiler]\nvars=1\nincludes=1\n[variables]\nName=Hillside\n");
        WriteFile(temp / "src/parts/head.inc", "<header>\n<h1><%Name%></h1>\n</header>\n");
    }
    LivePageRequest request(const std::string& page, const std::string& text) const {
        LivePageRequest r;
        r.projectFile = temp / "site.vlr";
        r.page = temp / page;
        r.text = text;
        r.environment = FixedEnvironment();
        return r;
    }
};

}  // namespace

TEST(LivePage, BuildsUnsavedTextWithIncludesAndVariablesAndMapsBack) {
    Site site;
    LivePageBuilder builder;
    // Not saved anywhere: the file on disk does not even exist.
    const LivePage page = builder.Build(site.request("src/blog/post.hts", "<&../parts/head.inc&>\n<p>Hi <%Name%></p>\n"));
    ASSERT_TRUE(page.ok);
    EXPECT_TRUE(page.problems.empty());
    EXPECT_EQ(page.html, "<header>\n<h1>Hillside</h1>\n</header>\n\n<p>Hi Hillside</p>\n");
    EXPECT_EQ(page.siteFolder, site.temp / "public");
    EXPECT_EQ(page.pathInSite, "/blog/post.html");

    // The heading came from line 2 of the include; the paragraph from line 2 of the page.
    auto h1 = page.map.Locate(page.html.find("<h1>"));
    ASSERT_TRUE(h1);
    EXPECT_EQ(h1->at.file, site.temp / "src/parts/head.inc");
    EXPECT_EQ(h1->at.line, 2);
    auto range = page.map.OutputRange(site.temp / "src/blog/post.hts", 2);
    ASSERT_TRUE(range);
    EXPECT_EQ(page.html.substr(range->first, 3), "<p>");
}

TEST(LivePage, BuildProblemsNameTheirFileAndLine) {
    Site site;
    LivePageBuilder builder;
    // An undefined variable inside an include: the page is made, with a problem at the include's line.
    WriteFile(site.temp / "src/parts/foot.inc", "<footer>\n<%Nobody%>\n</footer>\n");
    LivePage page = builder.Build(site.request("src/index.hts", "<p>x</p>\n<&parts/foot.inc&>\n"));
    ASSERT_TRUE(page.ok);
    ASSERT_EQ(page.problems.size(), 1u);
    EXPECT_EQ(page.problems[0].file, site.temp / "src/parts/foot.inc");
    EXPECT_EQ(page.problems[0].line, 2);
    EXPECT_NE(page.problems[0].text.find("Nobody"), std::string::npos);

    // A missing include on line 3: no page, the problem at the page's line.
    page = builder.Build(site.request("src/index.hts", "<p>a</p>\n\n<&parts/gone.inc&>\n"));
    EXPECT_FALSE(page.ok);
    EXPECT_TRUE(page.html.empty());
    ASSERT_FALSE(page.problems.empty());
    EXPECT_EQ(page.problems[0].file, site.temp / "src/index.hts");
    EXPECT_EQ(page.problems[0].line, 3);
    EXPECT_TRUE(page.problems[0].error);
    EXPECT_EQ(page.problems[0].Describe().rfind(site.temp / "src/index.hts:3: ", 0), 0u);
}

TEST(LivePage, ProjectChangesAreSeenAndIncludesOutsideAreRefusedUnlessAllowed) {
    Site site;
    LivePageBuilder builder;
    EXPECT_EQ(builder.Build(site.request("src/index.hts", "<%Name%>")).html, "Hillside");
    WriteFile(site.temp / "site.vlr",
              "[files]\n0=src/index.hts\n[directories]\nsrc=src\nout=public\n[Compiler]\nvars=1\nincludes=1\n"
              "[variables]\nName=Ridge\n");
    Touch(site.temp / "site.vlr");
    EXPECT_EQ(builder.Build(site.request("src/index.hts", "<%Name%>")).html, "Ridge");

    TempFolder elsewhere;
    WriteFile(elsewhere / "secret.inc", "secret");
    LivePageRequest outside = site.request("src/index.hts", "<&" + (elsewhere / "secret.inc") + "&>");
    std::string asked;
    outside.allowOutside = [&](const std::string& what) {
        asked = what;
        return false;
    };
    LivePage refused = builder.Build(outside);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(asked.find("secret.inc"), std::string::npos);
    outside.allowOutside = [](const std::string&) { return true; };
    EXPECT_EQ(builder.Build(outside).html, "secret");
}

TEST(LivePage, WithoutAProjectThePageIsItsOwnText) {
    LivePageBuilder builder;
    LivePageRequest r;
    r.page = "/tmp/x/page.html";
    r.text = "<p>one</p>\n<p><%kept%></p>";
    const LivePage page = builder.Build(r);
    ASSERT_TRUE(page.ok);
    EXPECT_EQ(page.html, r.text);
    EXPECT_EQ(page.pathInSite, "/page.html");
    auto second = page.map.Locate(page.html.find("<p><%"));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->at.line, 2);
    EXPECT_EQ(second->at.column, 1);
}

TEST(LivePage, ElementOffsetsMarkEveryStartTagAndNothingElse) {
    const std::string html =
        "<!DOCTYPE html><html lang=en><!-- <b>not</b> --><body class=\"a>b\">"
        "<script>if (a<b) x('<p>');</script><STYLE>p>a{}</STYLE><p>t<br/></p><?php echo '<i>'; ?>"
        "<textarea><u>raw</u></textarea></body></html>";
    const std::string marked = vlr::build::MarkElementOffsets(html);
    // Removing the marks gives the page back.
    EXPECT_EQ(std::regex_replace(marked, std::regex(" data-vlr-at=\"[0-9]+\""), ""), html);
    // Every mark names the offset of its own tag's "<".
    std::vector<std::string> tags;
    const std::regex mark("<([A-Za-z]+) data-vlr-at=\"([0-9]+)\"");
    for (auto it = std::sregex_iterator(marked.begin(), marked.end(), mark); it != std::sregex_iterator(); ++it) {
        const std::size_t at = std::stoul((*it)[2]);
        EXPECT_EQ(html.compare(at, 1 + (*it)[1].length(), "<" + (*it)[1].str()), 0) << (*it)[1];
        tags.push_back((*it)[1]);
    }
    EXPECT_EQ(tags, (std::vector<std::string>{"html", "body", "script", "STYLE", "p", "br", "textarea"}));
}

TEST(LivePage, APatchReplacesTheInnermostElementAroundTheChange) {
    const std::string before = "<html><body>\n<section id=a><h2>One</h2>\n<p>Walk <b>far</b></p><br></section>\n"
                               "<section id=b><ul><li>x<li>y</ul></section>\n</body></html>\n";
    auto patchFor = [&](const std::string& after) {
        auto patch = vlr::build::PatchBetween(before, after);
        if (patch) {
            // The patch turns the old page into the new one.
            std::string patched = before;
            patched.replace(patch->start, patch->oldEnd - patch->start,
                            after.substr(patch->start, patch->newEnd - patch->start));
            EXPECT_EQ(patched, after);
            EXPECT_EQ(std::regex_replace(patch->marked, std::regex(" data-vlr-at=\"[0-9]+\""), ""),
                      after.substr(patch->start, patch->newEnd - patch->start));
            EXPECT_NE(patch->marked.find("data-vlr-at=\"" + std::to_string(patch->start) + "\""), std::string::npos);
        }
        return patch;
    };
    // Typing inside the bold word: the <b> is the innermost element.
    std::string after = before;
    after.insert(before.find("far"), "very ");
    auto patch = patchFor(after);
    ASSERT_TRUE(patch);
    EXPECT_EQ(after.substr(patch->start, 3), "<b>");
    // A change to an attribute of <p> is held by the section around it.
    after = before;
    after.replace(before.find("<p>"), 3, "<p class=x>");
    patch = patchFor(after);
    ASSERT_TRUE(patch);
    EXPECT_EQ(after.substr(patch->start, 13), "<section id=a");
    // A list item without its end tag is no element to replace: its list is.
    after = before;
    after.insert(before.find("y</ul>") + 1, "z");
    patch = patchFor(after);
    ASSERT_TRUE(patch);
    EXPECT_EQ(after.substr(patch->start, 4), "<ul>");
    // Closing the section early changes its end: the body holds the change, and the page is shown again.
    after = before;
    after.insert(before.find("<br>"), "</section>");
    EXPECT_FALSE(patchFor(after));
    // No change, no patch.
    EXPECT_FALSE(patchFor(before));
}
