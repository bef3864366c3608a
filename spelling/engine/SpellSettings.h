// The spell checker's settings file beside the program's settings: the main
// dictionary's language and the switches, one "name=value" a line.
#pragma once

#include "spelling/engine/SpellWords.h"

#include <string>

namespace vlr::spelling {

inline constexpr const char* kSettingsFile = "spelling.cfg";
inline constexpr const char* kUserWordsFile = "userwords.dic";

// Missing file or unknown lines give the defaults.
SpellOptions ReadSpellOptions(const std::string& path);
// Writes the whole file or nothing; false when it could not be written.
bool WriteSpellOptions(const std::string& path, const SpellOptions& options);

}  // namespace vlr::spelling
