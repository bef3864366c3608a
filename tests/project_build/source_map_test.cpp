// The source map of a built page: every output byte back to its file, line
// and column, through includes at any depth and variables.
#include "BuildTestSupport.h"

#include "project/build/Expander.h"
#include "project/build/SiteProject.h"

#include <gtest/gtest.h>

using namespace buildtest;
using vlr::build::SourceMap;

namespace {

struct Mapped {
    TempFolder temp;
    vlr::build::SiteProject project;
    vlr::build::VariableTable vars;
    Mapped() {
        project.ProjectFile = temp / "p.vlr";
        project.SourceDir = temp.path();
        project.Variables = {{"Name", "Wörld"}};
        vars = vlr::build::VariableTable(project, FixedEnvironment());
    }
};

std::size_t at(const std::string& text, const std::string& what) {
    const std::size_t pos = text.find(what);
    EXPECT_NE(pos, std::string::npos) << what;
    return pos;
}

}  // namespace

TEST(SourceMap, PlacesPageIncludeNestedIncludeAndVariableText) {
    Mapped m;
    WriteFile(m.temp / "parts/head.inc", "<header>\n  <&nav.inc&> tail\n</header>\n");
    WriteFile(m.temp / "parts/nav.inc", "\xc3\xa9<nav>menu</nav>");
    vlr::build::Expander e({}, m.vars, m.project.SourceDir);
    SourceMap map;
    const std::string page = "é <%Name%> x\n<&parts/head.inc&>\r\n<p>end</p>";
    auto r = e.ExpandPage(m.temp / "page.hts", page, {}, &map);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.text, "é Wörld x\n<header>\n  é<nav>menu</nav> tail\n</header>\n\r\n<p>end</p>");

    // Page text: the column counts characters ("é" is one).
    auto x = map.Locate(at(r.text, "x\n"));
    ASSERT_TRUE(x);
    EXPECT_EQ(x->at, (vlr::build::SourcePosition{m.temp / "page.hts", 1, 12}));
    EXPECT_TRUE(x->includedFrom.empty());
    // A variable's value: all of it at its "<%".
    auto v = map.Locate(at(r.text, "rld"));
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->fromVariable);
    EXPECT_EQ(v->at, (vlr::build::SourcePosition{m.temp / "page.hts", 1, 3}));
    // Two includes deep, with the chain innermost first.
    auto nav = map.Locate(at(r.text, "menu"));
    ASSERT_TRUE(nav);
    EXPECT_EQ(nav->at, (vlr::build::SourcePosition{m.temp / "parts/nav.inc", 1, 7}));
    ASSERT_EQ(nav->includedFrom.size(), 2u);
    EXPECT_EQ(nav->includedFrom[0], (vlr::build::SourcePosition{m.temp / "parts/head.inc", 2, 3}));
    EXPECT_EQ(nav->includedFrom[1], (vlr::build::SourcePosition{m.temp / "page.hts", 2, 1}));
    auto tail = map.Locate(at(r.text, "tail"));
    ASSERT_TRUE(tail);
    EXPECT_EQ(tail->at, (vlr::build::SourcePosition{m.temp / "parts/head.inc", 2, 15}));
    // After a CR LF line end, and past the end.
    auto end = map.Locate(at(r.text, "end"));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->at, (vlr::build::SourcePosition{m.temp / "page.hts", 3, 4}));
    EXPECT_FALSE(map.Locate(r.text.size()));

    // And back: the output of an include's line.
    auto range = map.OutputRange(m.temp / "parts/head.inc", 3);
    ASSERT_TRUE(range);
    EXPECT_EQ(r.text.substr(range->first, range->second - range->first), "</header>\n");
    EXPECT_FALSE(map.OutputRange(m.temp / "parts/head.inc", 9));
    EXPECT_EQ(map.Files().front(), m.temp / "page.hts");
    // What the include written on a line brought in, its nested include too.
    auto included = map.IncludedRange(m.temp / "page.hts", 2);
    ASSERT_TRUE(included);
    EXPECT_EQ(r.text.substr(included->first, included->second - included->first),
              "<header>\n  é<nav>menu</nav> tail\n</header>\n");
    auto nested = map.IncludedRange(m.temp / "parts/head.inc", 2);
    ASSERT_TRUE(nested);
    EXPECT_EQ(r.text.substr(nested->first, nested->second - nested->first), "é<nav>menu</nav>");
    EXPECT_FALSE(map.IncludedRange(m.temp / "page.hts", 1));
}

TEST(SourceMap, IncludeReusedByALaterPageIsPlacedThereToo) {
    Mapped m;
    WriteFile(m.temp / "a.inc", "<b>A</b>\n");
    vlr::build::Expander e({}, m.vars, m.project.SourceDir);
    SourceMap first, second;
    ASSERT_TRUE(e.ExpandPage(m.temp / "one.hts", "<&a.inc&>", {}, &first).ok);
    auto r = e.ExpandPage(m.temp / "two.hts", "12345\n<&a.inc&>", {}, &second);
    ASSERT_TRUE(r.ok);
    auto b = second.Locate(at(r.text, "A"));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->at, (vlr::build::SourcePosition{m.temp / "a.inc", 1, 4}));
    ASSERT_EQ(b->includedFrom.size(), 1u);
    EXPECT_EQ(b->includedFrom[0], (vlr::build::SourcePosition{m.temp / "two.hts", 2, 1}));
    // A page that fails leaves no map.
    EXPECT_FALSE(e.ExpandPage(m.temp / "three.hts", "<&none.inc&>", {}, &second).ok);
    EXPECT_TRUE(second.Empty());
}
