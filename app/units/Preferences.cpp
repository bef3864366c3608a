#include "app/units/Preferences.h"

#include "platform/IniFile.h"

namespace vlr {
namespace {
constexpr const char* kAnimationNames[] = {"none", "vslide", "hslide", "smart", "unfold", "popup", "random"};
}

std::string Preferences::PathIn(const std::string& appDir) { return appDir + "preferences.dat"; }

Preferences::Preferences(std::string path) : path_(std::move(path)) {}

bool Preferences::LowerTags() const { return IniFile(path_).ReadBool("Environment", "LowerTags", true); }

EnvironmentPrefs Preferences::Environment() const {
    IniFile ini(path_);
    EnvironmentPrefs p;
    p.LowerTags = ini.ReadBool("Environment", "LowerTags", true);
    p.LastProject = ini.ReadBool("Environment", "LastProject", true);
    p.Project = ini.ReadString("Environment", "Project", "");
    p.NewEditor = ini.ReadBool("Environment", "NewEditor", true);
    p.InsImg = ini.ReadBool("Environment", "InsImg", true);
    return p;
}

EditorPrefs Preferences::Editor() const {
    IniFile ini(path_);
    EditorPrefs p;
    p.FontNm = ini.ReadString("EdEnv", "FontNm", "Courier New");
    p.FontSz = static_cast<int>(ini.ReadInteger("EdEnv", "FontSz", 10));
    p.Maximize = ini.ReadBool("EdEnv", "Maximize", false);
    return p;
}

bool Preferences::MenuDoubleSpeed() const { return IniFile(path_).ReadString("Main", "Mnu_Anim_Sp", "True") == "True"; }

void Preferences::WriteMenuDoubleSpeed(bool on) const {
    IniFile(path_).WriteString("Main", "Mnu_Anim_Sp", on ? "True" : "False");
}

MenuAnimation Preferences::ReadType(MenuAnimation current) const {
    std::string name = IniFile(path_).ReadString("Main", "Mnu_Anim_Type", "unfold");
    for (int i = 0; i < 7; ++i)
        if (name == kAnimationNames[i])
            return static_cast<MenuAnimation>(i);
    return current;
}

void Preferences::WriteType(MenuAnimation kind) const {
    IniFile(path_).WriteString("Main", "Mnu_Anim_Type", AnimationName(kind));
}

const char* Preferences::AnimationName(MenuAnimation kind) { return kAnimationNames[static_cast<int>(kind)]; }

void Preferences::WriteLastProject(const std::string& projectFile) const {
    IniFile(path_).WriteString("Environment", "Project", projectFile);
}

}  // namespace vlr
