// Golden-file tests of the site build: each folder under cases/ is a project
// (its ".vlr" file, its sources) with the expected output tree in expected/
// and the expected progress messages and problems in expected.log. The test
// builds a copy of the project in a temporary folder with a fixed
// environment; the temporary folder's path shows as $ROOT in the comparison.
// VELORA_REGENERATE_GOLDEN=1 rewrites the expected files from the build.
#include "BuildTestSupport.h"

#include "project/build/BuildRecord.h"
#include "project/build/SiteBuild.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

using namespace buildtest;
namespace fs = std::filesystem;

namespace {

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
        text.replace(pos, from.size(), to);
    return text;
}

std::string projectFileOf(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".vlr")
            return entry.path().string();
    return {};
}

class GoldenBuild : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenBuild, OutputTreeAndMessagesMatchTheReference) {
    const fs::path caseDir = fs::path(VELORA_BUILD_CASES) / GetParam();
    TempFolder temp;
    for (const auto& entry : fs::directory_iterator(caseDir)) {
        const std::string name = entry.path().filename().string();
        if (name != "expected" && name != "expected.log")
            fs::copy(entry.path(), fs::path(temp.path()) / name, fs::copy_options::recursive);
    }
    const std::string projectFile = projectFileOf(temp.path());
    ASSERT_FALSE(projectFile.empty());

    vlr::build::BuildRequest request;
    request.projectFile = projectFile;
    request.environment = FixedEnvironment();
    RecordingReporter reporter;
    vlr::build::BuildSummary summary = vlr::build::BuildSite(request, reporter);

    std::string log;
    for (const std::string& call : reporter.calls)
        log += call + "\n";
    for (const std::string& problem : reporter.problems)
        log += "problem " + problem + "\n";
    log += "result " + std::to_string(summary.ok ? 1 : 0) + "\n";
    log = std::regex_replace(replaceAll(log, temp.path(), "$ROOT"), std::regex(" in [0-9]+ ms"), " in T ms");

    std::map<std::string, std::string> actual;
    for (auto& [name, text] : ReadTree(temp / "out"))
        if (name != vlr::build::kBuildRecordName)
            actual[name] = replaceAll(text, temp.path(), "$ROOT");

    if (std::getenv("VELORA_REGENERATE_GOLDEN")) {
        fs::remove_all(caseDir / "expected");
        fs::create_directories(caseDir / "expected");
        for (const auto& [name, text] : actual)
            WriteFile((caseDir / "expected" / name).string(), text);
        WriteFile((caseDir / "expected.log").string(), log);
        GTEST_SKIP() << "reference files written";
    }
    EXPECT_EQ(log, ReadFile((caseDir / "expected.log").string()));
    std::map<std::string, std::string> expected = ReadTree((caseDir / "expected").string());
    EXPECT_EQ(actual.size(), expected.size());
    for (const auto& [name, text] : expected) {
        auto it = actual.find(name);
        if (it == actual.end()) {
            ADD_FAILURE() << "missing page " << name;
            continue;
        }
        EXPECT_EQ(it->second, text) << "page " << name;
    }
    for (const auto& [name, text] : actual)
        EXPECT_TRUE(expected.count(name)) << "unexpected page " << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenBuild, ::testing::Values("site", "cycle", "switches"));

}  // namespace
