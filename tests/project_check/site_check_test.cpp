// The site check: each rule with a page that breaks it and one that keeps
// it, positions inside includes, rules switched off by the project file, the
// project's own tokens, trust and the cache.
#include "../project_build/BuildTestSupport.h"

#include "project/check/SiteCheck.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace buildtest;
using vlr::check::CheckRequest;
using vlr::check::CheckResult;
using vlr::check::Problem;

namespace {

// A project in a temporary folder: pages under src/, the site under out/.
struct Site {
    TempFolder temp;
    std::vector<std::string> pages;
    std::string checkSection;

    void page(const std::string& name, const std::string& text) {
        WriteFile(temp / ("src/" + name), text);
        pages.push_back(name);
    }
    std::string projectFile() {
        std::string p = "[directories]\nsrc=src\nout=out\n[files]\n";
        for (std::size_t i = 0; i < pages.size(); ++i)
            p += std::to_string(i) + "=src/" + pages[i] + "\n";
        p += "[variables]\nName=Hill\n" + checkSection;
        WriteFile(temp / "site.vlr", p);
        return temp / "site.vlr";
    }
    CheckResult check(vlr::check::CheckCache* cache = nullptr) {
        CheckRequest r;
        r.projectFile = projectFile();
        r.environment = FixedEnvironment();
        r.cache = cache;
        return vlr::check::CheckSite(r);
    }
};

std::string wrap(const std::string& body, const std::string& html = "<html lang=\"en\">",
                 const std::string& head = "<title>T</title>") {
    return "<!DOCTYPE html>\n" + html + "<head>" + head + "</head><body>\n<h1>Top</h1>\n" + body +
           "\n</body></html>\n";
}

// The rules the check reports for one page.
std::vector<std::string> rulesFor(const std::string& text) {
    Site s;
    WriteFile(s.temp / "out/a.png", "png");
    s.page("index.hts", text);
    CheckResult r = s.check();
    EXPECT_TRUE(r.ran);
    std::vector<std::string> rules;
    for (const Problem& p : r.problems)
        rules.push_back(p.rule);
    return rules;
}

bool has(const std::vector<std::string>& rules, const std::string& rule) {
    return std::find(rules.begin(), rules.end(), rule) != rules.end();
}

}  // namespace

TEST(SiteCheck, EachRuleFindsItsFaultAndPassesTheSoundPage) {
    struct Case {
        const char* rule;
        std::string bad, good;
    };
    const std::vector<Case> cases = {
        {"img-alt", wrap("<img src=\"a.png\">"), wrap("<img src=\"a.png\" alt=\"\">")},
        {"link-text", wrap("<a href=\"index.html\"> </a>"),
         wrap("<a href=\"index.html\"><img src=\"a.png\" alt=\"Home\"></a>")},
        {"button-text", wrap("<button></button>"), wrap("<button aria-label=\"Close\"></button>")},
        {"html-lang", wrap("<p>x</p>", "<html>"), wrap("<p>x</p>")},
        {"control-label", wrap("<input type=\"text\" id=\"q\">"),
         wrap("<label for=\"q\">Find</label><input type=\"text\" id=\"q\"><label>Name <input></label>")},
        {"duplicate-id", wrap("<p id=\"a\">x</p><p id=\"a\">y</p>"), wrap("<p id=\"a\">x</p><p id=\"b\">y</p>")},
        {"heading-order", wrap("<h3>Sub</h3>"), wrap("<h2>Sub</h2><h3>Sub</h3>")},
        {"page-title", wrap("<p>x</p>", "<html lang=\"en\">", "<title> </title>"), wrap("<p>x</p>")},
        {"html-unclosed", wrap("<div><p>x</p>"), wrap("<div><p>x</p></div>")},
        {"html-misnested", wrap("<p><b><i>x</b></i></p>"), wrap("<p><b><i>x</i></b></p>")},
        {"html-unknown-element", wrap("<bogus>x</bogus>"), wrap("<section>x</section><my-card>x</my-card>")},
        {"html-unknown-attribute", wrap("<p bogus=\"1\">x</p>"), wrap("<p data-bogus=\"1\">x</p>")},
        {"html-duplicate-attribute", wrap("<p class=\"a\" class=\"b\">x</p>"), wrap("<p class=\"a b\">x</p>")},
        {"link-missing", wrap("<a href=\"nowhere.html\">x</a>"),
         wrap("<a href=\"index.html#top\">x</a><a href=\"/a.png\">y</a><a href=\"https://example.org/\">z</a>")},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(has(rulesFor(c.bad), c.rule)) << c.rule << " not found in:\n" << c.bad;
        const auto good = rulesFor(c.good);
        EXPECT_TRUE(good.empty()) << c.rule << ": the sound page reports " << (good.empty() ? "" : good.front());
    }
    EXPECT_TRUE(has(rulesFor(wrap("<p>x</p>", "<html lang=\"en\">", "")), "page-title"));
}

TEST(SiteCheck, ProblemsInsideIncludesAreReportedAtTheIncludesLine) {
    Site s;
    WriteFile(s.temp / "src/parts/nav.inc", "<nav>\n  <a href=\"index.html\">Home</a>\n  <img src=\"/logo.png\">\n</nav>");
    WriteFile(s.temp / "out/logo.png", "png");
    s.page("index.hts", wrap("<&parts/nav.inc&>\n<p><%Name%></p>"));
    s.page("blog/post.hts", wrap("<p>before</p>\n<&../parts/nav.inc&>"));
    CheckResult r = s.check();
    // The include's image is one problem, at its own line, however many pages use it.
    ASSERT_EQ(r.problems.size(), 2u) << r.problems[0].message;
    const Problem& img = r.problems[1];
    EXPECT_EQ(img.rule, "img-alt");
    EXPECT_EQ(img.file, s.temp / "src/parts/nav.inc");
    EXPECT_EQ(img.line, 3);
    EXPECT_EQ(img.column, 3);
    ASSERT_EQ(img.includedFrom.size(), 1u);
    EXPECT_EQ(img.includedFrom[0].file, s.temp / "src/index.hts");
    // From the page in the sub-folder, "index.html" is a link to nothing.
    const Problem& link = r.problems[0];
    EXPECT_EQ(link.rule, "link-missing");
    EXPECT_EQ(link.file, s.temp / "src/parts/nav.inc");
    EXPECT_EQ(link.line, 2);
    EXPECT_EQ(link.column, 12);
    EXPECT_EQ(link.page, s.temp / "src/blog/post.hts");
}

TEST(SiteCheck, RulesSwitchedOffOrMadeErrorsByTheProjectFile) {
    Site s;
    s.page("index.hts", wrap("<img src=\"a.png\" alt=\"\"><h3>x</h3>", "<html>"));
    WriteFile(s.temp / "out/a.png", "png");
    CheckResult before = s.check();
    EXPECT_EQ(before.Count(vlr::check::Severity::Warning), 2);
    s.checkSection = "[Check]\nHTML-Lang=0\nheading-order=error\nno-such-rule=1\n";
    CheckResult after = s.check();
    ASSERT_EQ(after.problems.size(), 1u);
    EXPECT_EQ(after.problems[0].rule, "heading-order");
    EXPECT_EQ(after.problems[0].severity, vlr::check::Severity::Error);
}

TEST(SiteCheck, TokensTheBuildLeavesAreNotMarkupFaults) {
    const auto rules = rulesFor(wrap("<p class=\"<% =cls %>\"><% if (x) { %>a<% } %></p>\n<p><%Undefined%></p>"));
    // The undefined variable is the build's warning; nothing of the markup.
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0], "build");
}

TEST(SiteCheck, BuildErrorsAreProblemsAndOutsideIncludesNeedTrust) {
    Site s;
    TempFolder outside;
    WriteFile(outside / "secret.inc", "<p>outside</p>");
    s.page("index.hts", wrap("<&" + (outside / "secret.inc") + "&>"));
    s.page("two.hts", wrap("\n<&missing.inc&>"));
    CheckResult r = s.check();
    EXPECT_FALSE(r.refused.empty());
    ASSERT_EQ(r.problems.size(), 2u);
    for (const Problem& p : r.problems)
        EXPECT_EQ(p.severity, vlr::check::Severity::Error);
    EXPECT_NE(r.problems[0].message.find("outside the project's folder"), std::string::npos);
    EXPECT_EQ(r.problems[1].file, s.temp / "src/two.hts");
    EXPECT_EQ(r.problems[1].line, 5);

    CheckRequest trusted;
    trusted.projectFile = s.projectFile();
    trusted.environment = FixedEnvironment();
    trusted.allowOutside = [](const std::string&) { return true; };
    EXPECT_EQ(vlr::check::CheckSite(trusted).problems.size(), 1u);
}

TEST(SiteCheck, UnchangedPagesComeFromTheCacheAndChangesAreSeen) {
    Site s;
    s.page("index.hts", wrap("<img src=\"a.png\">"));
    WriteFile(s.temp / "out/a.png", "png");
    vlr::check::CheckCache cache;
    EXPECT_EQ(s.check(&cache).problems.size(), 1u);
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_EQ(s.check(&cache).problems.size(), 1u);
    EXPECT_EQ(cache.Size(), 1u);
    // The image is gone: the link is checked again though the text is the same.
    std::filesystem::remove(s.temp / "out/a.png");
    EXPECT_EQ(s.check(&cache).problems.size(), 2u);
    // An unsaved text replaces the file.
    CheckRequest r;
    r.projectFile = s.projectFile();
    r.environment = FixedEnvironment();
    r.cache = &cache;
    r.unsaved[s.temp / "src/index.hts"] = wrap("<p>fine</p>");
    EXPECT_TRUE(vlr::check::CheckSite(r).problems.empty());
}
