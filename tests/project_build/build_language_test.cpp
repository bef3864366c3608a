// The build language on its own: variables, includes, cycles and the limits.
#include "BuildTestSupport.h"

#include "project/build/Expander.h"
#include "project/build/SiteProject.h"

#include <gtest/gtest.h>

using namespace buildtest;
using vlr::build::Expander;
using vlr::build::SiteProject;

namespace {

struct Language {
    TempFolder temp;
    SiteProject project;
    vlr::build::VariableTable vars;

    Language() {
        project.ProjectFile = temp / "p.vlr";
        project.SourceDir = temp.path();
        project.Variables = {{"Name", "World"}, {"Name", "second"}, {"TimeNow", "project time"}, {"two words", "ok"}};
        vars = vlr::build::VariableTable(project, FixedEnvironment());
    }
    vlr::build::Expansion run(const std::string& text, vlr::build::Switches sw = {}) {
        Expander e(sw, vars, project.SourceDir);
        return e.ExpandPage(temp / "page.hts", text);
    }
};

TEST(BuildLanguage, VariablesInternalFirstThenProjectFirstEntry) {
    Language l;
    auto r = l.run("<%Name%>|<%TimeNow%>|<%two words%>|<%ProjFile%>");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.text, "World|10:30 AM|ok|p.vlr");
    EXPECT_TRUE(r.diagnostics.empty());
}

TEST(BuildLanguage, UnknownNamesStayAndOnlyNameLikeOnesAreReported) {
    Language l;
    auto r = l.run("a\r\nb\n<%Nope%> <% code() %> <%x\n%> <%%> <% %");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.text, "a\r\nb\n<%Nope%> <% code() %> <%x\n%> <%%> <% %");
    ASSERT_EQ(r.diagnostics.size(), 1u);
    EXPECT_EQ(r.diagnostics[0].Describe(), "page.hts:3: undefined variable <%Nope%>");
}

TEST(BuildLanguage, ValuesAreInsertedVerbatim) {
    Language l;
    l.project.Variables = {{"Tricky", "<&secret.inc&><%Name%>"}};
    l.vars = vlr::build::VariableTable(l.project, FixedEnvironment());
    WriteFile(l.temp / "secret.inc", "SECRET");
    EXPECT_EQ(l.run("<%Tricky%>").text, "<&secret.inc&><%Name%>");
}

TEST(BuildLanguage, IncludesNestAndExpandVariables) {
    Language l;
    WriteFile(l.temp / "parts/outer.inc", "(<&inner.inc&>)");
    WriteFile(l.temp / "parts/inner.inc", "<%Name%>");
    auto r = l.run("x<& parts/outer.inc &>y<&parts/outer.inc&>");
    ASSERT_TRUE(r.ok) << r.diagnostics.back().Describe();
    EXPECT_EQ(r.text, "x(World)y(World)");
    EXPECT_EQ(r.dependencies.size(), 2u);
}

TEST(BuildLanguage, CycleIsNamedWithTheIncludeThatClosesIt) {
    Language l;
    WriteFile(l.temp / "a.inc", "1\n<&b.inc&>");
    WriteFile(l.temp / "b.inc", "<&c.inc&>");
    WriteFile(l.temp / "c.inc", "\n\n<&a.inc&>");
    auto r = l.run("top <&a.inc&>");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.text, "");
    ASSERT_FALSE(r.diagnostics.empty());
    EXPECT_EQ(r.diagnostics.back().Describe(), "c.inc:3: include cycle: a.inc -> b.inc -> c.inc -> a.inc");

    // A page including itself.
    WriteFile(l.temp / "page.hts", "");
    r = l.run("<&page.hts&>");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.diagnostics.back().text, "include cycle: page.hts -> page.hts");
}

TEST(BuildLanguage, OneFileReachedTwiceWithoutACycleIsFine) {
    Language l;
    WriteFile(l.temp / "d.inc", "<&x/../e.inc&><&e.inc&>");
    WriteFile(l.temp / "e.inc", "e");
    auto r = l.run("<&d.inc&><&./e.inc&>");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.text, "eee");
}

TEST(BuildLanguage, RunawayIncludesAreStopped) {
    Language l;
    // Each level includes the next one twice: the page would double per level.
    for (int i = 0; i < 40; ++i)
        WriteFile(l.temp / ("l" + std::to_string(i) + ".inc"),
                  "<&l" + std::to_string(i + 1) + ".inc&><&l" + std::to_string(i + 1) + ".inc&>");
    WriteFile(l.temp / "l40.inc", std::string(100, 'x'));
    auto r = l.run("<&l0.inc&>");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.diagnostics.back().text.find("grows beyond"), std::string::npos);

    // A chain deeper than the limit.
    for (int i = 0; i < 70; ++i)
        WriteFile(l.temp / ("c" + std::to_string(i) + ".inc"), "<&c" + std::to_string(i + 1) + ".inc&>");
    WriteFile(l.temp / "c70.inc", "end");
    r = l.run("<&c0.inc&>");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.diagnostics.back().text.find("nested deeper"), std::string::npos);
}

TEST(BuildLanguage, SwitchesOffLeaveTheirConstructs) {
    Language l;
    WriteFile(l.temp / "i.inc", "<%Name%>");
    vlr::build::Switches noVars;
    noVars.vars = false;
    EXPECT_EQ(l.run("<%Name%><&i.inc&>", noVars).text, "<%Name%><%Name%>");
    vlr::build::Switches noIncludes;
    noIncludes.includes = false;
    EXPECT_EQ(l.run("<%Name%><&i.inc&>", noIncludes).text, "World<&i.inc&>");
}

TEST(ProjectReading, DirectoriesSwitchesFilesAndVariables) {
    SiteProject p;
    vlr::build::ParseSiteProject("/home/ann/site/site.vlr",
                                 "[FILES]\n0=src/a.hts\n1=/abs/b.hts\n3=src/d.hts\n"
                                 "[directories]\nSRC = src/\nout=\"/var/www/\"\n"
                                 "[compiler]\nvars=0\nincludes=abc\ndb=2\n"
                                 "[variables]\nTitle=My Site\ntitle=second\n[other]\nimgprep=img/\n"
                                 "[Files]\n2=/not/seen.hts\n",
                                 p);
    EXPECT_EQ(p.SourceDir, "/home/ann/site/src");
    EXPECT_EQ(p.OutputDir, "/var/www");
    EXPECT_EQ(p.ImgPrefix, "img/");
    EXPECT_FALSE(p.switches.vars);
    EXPECT_TRUE(p.switches.includes);  // not a number: the default
    EXPECT_TRUE(p.switches.db);
    EXPECT_TRUE(p.switches.scripts);   // missing: the default
    // Every key is read in file order, as the program's file list reads them:
    // the gap before "3" loses nothing.
    EXPECT_EQ(p.Files, (std::vector<std::string>{"/home/ann/site/src/a.hts", "/abs/b.hts", "/home/ann/site/src/d.hts"}));
    ASSERT_EQ(p.Variables.size(), 1u);
    EXPECT_EQ(p.Variables[0].second, "My Site");
}

}  // namespace
