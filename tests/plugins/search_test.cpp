// The search for plug-in libraries in a folder tree.
#include "plugins/PlugInSearch.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class PlugInSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("vlr_search_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    void Touch(const std::string& relative) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "x";
    }
    std::vector<std::string> Search(std::vector<std::string>* met = nullptr) {
        std::vector<std::string> found;
        vlr::SearchForPlugIns(root.string() + "/", ".vlp", found, [&](const std::string& name) {
            if (met)
                met->push_back(name);
        });
        for (std::string& f : found)
            f = f.substr(root.string().size() + 1);
        return found;
    }
    fs::path root;
};

TEST_F(PlugInSearchTest, TheMarkerIsFoundAnywhereInTheNameInAnyCase) {
    for (const char* name : {"X.VLP", "tool.vlp.bak", "MiXeD.VlP", "plain.so", "vlp", "a.vl"})
        Touch(name);
    auto found = Search();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::string>{"MiXeD.VlP", "X.VLP", "tool.vlp.bak"}));
}

TEST_F(PlugInSearchTest, SubFoldersComeAfterTheFolderAndDepthFirst) {
    Touch("a/deeper/d1.vlp");
    Touch("a/a1.vlp");
    Touch("top.vlp");
    Touch("z.vlp.dir/inner.vlp");  // a folder whose name holds the marker is searched, not taken
    const auto found = Search();
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0], "top.vlp");
    // Each sub-folder's own files come before those of its sub-folders.
    const auto pos = [&](const std::string& s) { return std::find(found.begin(), found.end(), s) - found.begin(); };
    EXPECT_LT(pos("a/a1.vlp"), pos("a/deeper/d1.vlp"));
    EXPECT_NE(pos("z.vlp.dir/inner.vlp"), 4);
}

TEST_F(PlugInSearchTest, DotNamesAreNeitherTakenNorSearchedNorReported) {
    Touch(".hidden.vlp");
    Touch(".cache/inside.vlp");
    Touch("seen.vlp");
    std::vector<std::string> met;
    EXPECT_EQ(Search(&met), std::vector<std::string>{"seen.vlp"});
    EXPECT_EQ(met, std::vector<std::string>{"seen.vlp"});
}

TEST_F(PlugInSearchTest, AMissingFolderFindsNothingAndALinkLoopEnds) {
    std::vector<std::string> found;
    vlr::SearchForPlugIns((root / "absent/").string(), ".vlp", found, nullptr);
    EXPECT_TRUE(found.empty());

    Touch("loop/one.vlp");
    fs::create_directory_symlink(root / "loop", root / "loop" / "again");
    EXPECT_EQ(Search(), std::vector<std::string>{"loop/one.vlp"});
}

}  // namespace
