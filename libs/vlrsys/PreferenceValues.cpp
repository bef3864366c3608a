// Reading and writing the preference keys the preferences dialog edits.
#include "libs/vlrsys/PreferenceValues.h"

#include "platform/System.h"

#include <algorithm>

namespace vlr::sys {
namespace {
const char* const kEnvironment = "Environment";
const char* const kEditor = "EdEnv";
}  // namespace

std::string PreferencesPath() { return WritablePath("preferences.dat"); }

PreferenceValues ReadPreferences(const IniFile& file) {
    PreferenceValues defaults;
    PreferenceValues v;
    v.lowerTags = file.ReadBool(kEnvironment, "LowerTags", defaults.lowerTags);
    v.lastProject = file.ReadBool(kEnvironment, "LastProject", defaults.lastProject);
    v.newEditor = file.ReadBool(kEnvironment, "NewEditor", defaults.newEditor);
    v.insImg = file.ReadBool(kEnvironment, "InsImg", defaults.insImg);
    v.modernHtml = file.ReadBool(kEnvironment, "ModernHTML", defaults.modernHtml);
    v.fontName = file.ReadString(kEditor, "FontNm", defaults.fontName);
    if (v.fontName.empty())
        v.fontName = defaults.fontName;
    long size = file.ReadInteger(kEditor, "FontSz", defaults.fontSize);
    v.fontSize = static_cast<int>(std::clamp<long>(size, kMinFontSize, kMaxFontSize));
    v.maximize = file.ReadBool(kEditor, "Maximize", defaults.maximize);
    return v;
}

bool WritePreferences(IniFile& file, const PreferenceValues& v) {
    bool ok = true;
    ok = file.WriteBool(kEnvironment, "LowerTags", v.lowerTags) && ok;
    ok = file.WriteBool(kEnvironment, "LastProject", v.lastProject) && ok;
    ok = file.WriteBool(kEnvironment, "NewEditor", v.newEditor) && ok;
    ok = file.WriteBool(kEnvironment, "InsImg", v.insImg) && ok;
    ok = file.WriteBool(kEnvironment, "ModernHTML", v.modernHtml) && ok;
    ok = file.WriteString(kEditor, "FontNm", v.fontName) && ok;
    ok = file.WriteInteger(kEditor, "FontSz", v.fontSize) && ok;
    ok = file.WriteBool(kEditor, "Maximize", v.maximize) && ok;
    return ok;
}

}  // namespace vlr::sys
