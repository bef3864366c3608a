// Where the program's own files go: beside the program in a writable run
// folder, in the user's configuration folder for an installed program.
#include "platform/IniFile.h"
#include "platform/System.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string slurp(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const fs::path& p, const std::string& text) {
    std::ofstream(p) << text;
}

class UserFilesTest : public ::testing::Test {
protected:
    fs::path root, app, config;
    void SetUp() override {
        root = fs::temp_directory_path() / ("vlr_userfiles_" + std::to_string(::getpid()));
        fs::remove_all(root);
        app = root / "lib" / "velora";
        config = root / "home" / ".config";
        fs::create_directories(app);
        ::setenv("VELORA_APPDIR", app.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    void TearDown() override {
        fs::permissions(app, fs::perms::owner_all, fs::perm_options::add);
        ::unsetenv("VELORA_APPDIR");
        ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(root);
    }
    void install() { writeText(app / vlr::kInstalledMarker, "installed\n"); }
    std::string user(const std::string& name) const { return (config / "velora").string() + "/" + name; }
};
}  // namespace

TEST_F(UserFilesTest, RunFolderKeepsFilesBesideTheProgram) {
    EXPECT_TRUE(vlr::AppDirIsWritable());
    EXPECT_EQ(vlr::UserDataDir(), app.string() + "/");
    EXPECT_EQ(vlr::WritablePath("preferences.dat"), app.string() + "/preferences.dat");
    EXPECT_EQ(vlr::WritablePath("recovery/"), app.string() + "/recovery/");
    EXPECT_EQ(vlr::ReadablePath("sedprop.dat"), app.string() + "/sedprop.dat");
    vlr::IniFile(vlr::WritablePath("preferences.dat")).WriteBool("Environment", "LowerTags", false);
    EXPECT_TRUE(fs::exists(app / "preferences.dat"));
    EXPECT_EQ(vlr::PluginDirs(), std::vector<std::string>{app.string() + "/plugins/"});
    EXPECT_FALSE(fs::exists(config)) << "a run folder never creates the user's folder";
}

TEST_F(UserFilesTest, InstalledProgramWritesIntoTheUsersFolderAndLeavesAppDirAlone) {
    install();
    writeText(app / "sedprop.dat", "shipped");
    EXPECT_FALSE(vlr::AppDirIsWritable());
    EXPECT_EQ(vlr::UserDataDir(), user(""));
    EXPECT_FALSE(fs::exists(config / "velora")) << "nothing is made before the first write";

    // Reading finds the shipped file until the user has a copy of their own.
    EXPECT_EQ(vlr::ReadablePath("sedprop.dat"), app.string() + "/sedprop.dat");
    EXPECT_EQ(vlr::ReadablePath("styles.dat"), app.string() + "/styles.dat");

    const std::string prefs = vlr::WritablePath("preferences.dat");
    EXPECT_EQ(prefs, user("preferences.dat"));
    ASSERT_TRUE(vlr::IniFile(prefs).WriteString("Environment", "Type", "2"));
    EXPECT_EQ(vlr::IniFile(vlr::ReadablePath("preferences.dat")).ReadString("Environment", "Type", ""), "2");
    EXPECT_FALSE(fs::exists(app / "preferences.dat"));

    // A folder asked for is made, with its parents.
    EXPECT_EQ(vlr::WritablePath("recovery/"), user("recovery/"));
    EXPECT_TRUE(fs::is_directory(config / "velora" / "recovery"));

    // The user's copy of a shipped file starts as the shipped one; the
    // shipped file stays as it was after the copy changes.
    const std::string sed = vlr::WritablePath("sedprop.dat");
    EXPECT_EQ(slurp(sed), "shipped");
    writeText(sed, "mine");
    EXPECT_EQ(vlr::ReadablePath("sedprop.dat"), sed);
    EXPECT_EQ(slurp(vlr::WritablePath("sedprop.dat")), "mine") << "an existing user copy is never replaced";
    EXPECT_EQ(slurp(app / "sedprop.dat"), "shipped");

    EXPECT_EQ(vlr::PluginDirs(), (std::vector<std::string>{user("plugins/"), app.string() + "/plugins/"}))
        << "the user's plug-ins come first";

    std::size_t inApp = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(app))
        ++inApp;
    EXPECT_EQ(inApp, 2u) << "AppDir still holds only the marker and the shipped file";
}

TEST_F(UserFilesTest, UsersFolderDefaultsToDotConfigUnderHome) {
    install();
    ::unsetenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string saved = oldHome ? oldHome : "";
    ::setenv("HOME", (root / "home").c_str(), 1);
    EXPECT_EQ(vlr::WritablePath("styles.dat"), (root / "home" / ".config" / "velora" / "styles.dat").string());
    // A relative XDG_CONFIG_HOME is not a valid setting and is ignored.
    ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(vlr::UserDataDir(), (root / "home" / ".config" / "velora").string() + "/");
    if (oldHome)
        ::setenv("HOME", saved.c_str(), 1);
    else
        ::unsetenv("HOME");
}

TEST_F(UserFilesTest, MissingProgramFolderIsNoInstallation) {
    // Writes aimed at a folder that is gone fail there and are reported by
    // their caller; they never move silently into the user's folder.
    ::setenv("VELORA_APPDIR", (app / "gone").c_str(), 1);
    EXPECT_EQ(vlr::WritablePath("styles.dat"), (app / "gone" / "styles.dat").string());
    EXPECT_FALSE(vlr::IniFile(vlr::WritablePath("preferences.dat")).WriteBool("Environment", "LowerTags", true));
    EXPECT_FALSE(fs::exists(config));
}

TEST_F(UserFilesTest, ReadOnlyProgramFolderSendsWritesToTheUsersFolder) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser can write into any folder; the installed marker covers this case";
    fs::permissions(app, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(vlr::AppDirIsWritable());
    EXPECT_EQ(vlr::WritablePath("tools.dat"), user("tools.dat"));
}
