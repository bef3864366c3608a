// The search for plug-in libraries in a folder tree.
#include "plugins/PlugInSearch.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
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

namespace {

TEST_F(PlugInSearchTest, SeveralFoldersAreSearchedInOrderAndAnEarlierFolderReplacesALaterOnesPlugIn) {
    Touch("user/own.vlp");
    Touch("user/tidy.vlp");
    Touch("user/sub/deep.vlp");
    Touch("shipped/tidy.vlp");
    Touch("shipped/count.vlp");
    Touch("shipped/sub/deep.vlp");
    Touch("shipped/other/deep.vlp");
    const std::string user = (root / "user").string();  // without the trailing "/"
    const std::string shipped = (root / "shipped").string() + "/";
    std::vector<std::string> found = vlr::SearchPlugInFolders({user, shipped, (root / "missing/").string()}, ".vlp", {});
    for (std::string& f : found)
        f = f.substr(root.string().size() + 1);
    // The user's folder comes first; its tidy.vlp and sub/deep.vlp hide the
    // shipped ones at the same places, a plug-in elsewhere in the tree is kept.
    std::vector<std::string> userPart(found.begin(), found.begin() + 3);
    std::sort(userPart.begin(), userPart.end());
    EXPECT_EQ(userPart, (std::vector<std::string>{"user/own.vlp", "user/sub/deep.vlp", "user/tidy.vlp"}));
    std::vector<std::string> shippedPart(found.begin() + 3, found.end());
    std::sort(shippedPart.begin(), shippedPart.end());
    EXPECT_EQ(shippedPart, (std::vector<std::string>{"shipped/count.vlp", "shipped/other/deep.vlp"}));
}

}  // namespace
