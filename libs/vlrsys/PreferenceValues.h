// The user-edited keys of "preferences.dat": section "Environment" (program
// behaviour) and section "EdEnv" (editor windows).
#pragma once

#include "platform/IniFile.h"

#include <string>

namespace vlr::sys {

struct PreferenceValues {
    // "Environment"
    bool lowerTags = true;    // "LowerTags"
    bool lastProject = true;  // "LastProject"
    bool newEditor = true;    // "NewEditor"
    bool insImg = true;       // "InsImg"
    bool modernHtml = false;  // "ModernHTML": insertion commands write current HTML
    // "EdEnv"
    std::string fontName = "Courier New";  // "FontNm"
    int fontSize = 10;                     // "FontSz"
    bool maximize = false;                 // "Maximize"

    bool operator==(const PreferenceValues&) const = default;
};

// Font sizes the dialog offers; a stored size outside them is brought inside.
inline constexpr int kMinFontSize = 6;
inline constexpr int kMaxFontSize = 72;

// AppDir() + "preferences.dat".
std::string PreferencesPath();

// Reads the keys with their defaults. An empty font name reads as the default.
PreferenceValues ReadPreferences(const IniFile& file);
// Writes every key (booleans as "1"/"0"); other keys and sections, "Project"
// among them, are kept. False when a write failed.
bool WritePreferences(IniFile& file, const PreferenceValues& values);

}  // namespace vlr::sys
