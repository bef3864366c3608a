// The main window of an installed program: it reads and writes its
// preferences in the user's folder and leaves the program folder untouched.
#include "ShellFixture.h"

#include "platform/System.h"

#include <QAction>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

std::set<std::string> Listing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        names.insert(fs::relative(e.path(), dir).string() + ":" +
                     (e.is_regular_file() ? std::to_string(e.file_size()) : "dir"));
    return names;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(ShellTest, InstalledProgramKeepsPreferencesInTheUsersFolder) {
    const fs::path config = appDir.string() + "_config";
    fs::remove_all(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    std::ofstream(appDir / vlr::kInstalledMarker) << "installed\n";
    const fs::path userPrefs = config / "velora" / "preferences.dat";
    fs::create_directories(userPrefs.parent_path());
    std::ofstream(userPrefs) << "[Main]\nMnu_Anim_Type=smart\n";
    const auto before = Listing(appDir);
    {
        auto w = NewMainWindow();
        ASSERT_FALSE(w->fatal());
        EXPECT_EQ(w->AppDir(), appDir.string() + "/") << "the program folder is still AppDir";
        EXPECT_EQ(w->PreferencesPath(), userPrefs.string());
        EXPECT_EQ(w->menuAnimation(), vlr::MenuAnimation::Smart);
        w->action("None1")->trigger();
        w->close();
    }
    const std::string written = Slurp(userPrefs);
    EXPECT_NE(written.find("Mnu_Anim_Type=none"), std::string::npos) << written;
    EXPECT_NE(written.find("TlbMain_Visible"), std::string::npos) << "the layout saved at closing";
    EXPECT_EQ(Listing(appDir), before);
    ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(config);
}

}  // namespace
}  // namespace vlrtest
