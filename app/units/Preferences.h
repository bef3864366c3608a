// The keys of "preferences.dat" that the program reads, with their defaults.
// Every read opens the file anew: there is no cache, so changes made by the
// preferences dialog are seen at once.
#pragma once

#include <string>

namespace vlr {

class IniFile;

// The opening animation of the menus, in the order of the menu bar's setting.
enum class MenuAnimation { None = 0, VSlide, HSlide, Smart, Unfold, Popup, Random };

struct EnvironmentPrefs {
    bool LowerTags = true;
    bool LastProject = true;
    std::string Project;
    bool NewEditor = true;
    bool InsImg = true;
};

struct EditorPrefs {
    std::string FontNm = "Courier New";
    int FontSz = 10;
    bool Maximize = false;
};

class Preferences {
public:
    // The preferences file of a program folder: AppDir + "preferences.dat".
    static std::string PathIn(const std::string& appDir);

    explicit Preferences(std::string path);
    const std::string& path() const { return path_; }

    bool LowerTags() const;
    EnvironmentPrefs Environment() const;
    EditorPrefs Editor() const;

    // Double speed is on exactly when "Mnu_Anim_Sp" reads "True".
    bool MenuDoubleSpeed() const;
    void WriteMenuDoubleSpeed(bool on) const;
    // ReadType: the stored animation name mapped onto `current`; a name other
    // than the seven leaves `current` as it is.
    MenuAnimation ReadType(MenuAnimation current) const;
    void WriteType(MenuAnimation kind) const;

    // The project to reopen at the next start: Environment/"Project" holds
    // the project that was open last ("" once the user closed it).
    void WriteLastProject(const std::string& projectFile) const;

    static const char* AnimationName(MenuAnimation kind);

private:
    std::string path_;
};

}  // namespace vlr
