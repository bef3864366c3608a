// The internal variables: the fourteen values the program computes from the
// open project, the clock and the system, the build number, and the rule that
// resolves a variable name against internal and project variables.
#pragma once

#include "appearance/UserSettings.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <string>

namespace vlr {

// The open project's part of the internal variables. With no project open the
// project file is "none" and the directories are whatever the main window
// holds (normally empty).
struct TProjectVarSource {
    std::string ProjectFile = "none";  // full path of the ".vlr" file, or "none"
    std::string SourceDir;
    std::string OutputDir;
    std::string ImageDir;
    std::string ImgPrefix;
};

// The clock and system part. Times and dates are written with Locale using
// TimeFormat and DateFormat (Qt format strings).
struct TSystemVarSource {
    QDateTime Now;
    QLocale Locale;
    QString TimeFormat;
    QString DateFormat;
    std::string AppDir;     // the program's folder, with a trailing "/"
    std::string SystemDir;  // as the platform layer reports it
    std::string WinDir;     // as the platform layer reports it
    std::string BuildNum;
};

// The current moment and the running system: the user's short time and date
// formats (QLocale::system() ShortFormat), AppDir(), SystemDir(), WindowsDir()
// and GetBuildNum(). Read once, so every entry of one rebuild shows the same
// moment.
TSystemVarSource CurrentSystemVarSource();

// Empties the list and appends, in this order: "Header", "SourceDir",
// "OutputDir", "ImageDir", "ImgPrefix", "TimeNow", "DateNow", "ProjectPath",
// "VLRRootDir", "SystemDir", "WinDir", "BuildNum", "ProjFile", "SnippetsDir".
void InternalVars(TUserSettingList& list, const TProjectVarSource& project, const TSystemVarSource& system);
// The same with the current moment and the running system.
void InternalVars(TUserSettingList& list, const TProjectVarSource& project);

// The text a header marker starts with; the full marker is this prefix, the
// project file name, "::", the time, "::", the date and " -->".
inline constexpr const char* kHeaderMarker = "<!-- VLR1.0::";

// The build number from a version resource of the given size and its
// "FileVersion" value: "0.0.0.0" when there is no resource at all, otherwise
// the value as it stands (empty when the resource lacks it).
std::string BuildNumFromResource(int resourceSize, const std::string& fileVersion);
// The program's build number, from its own version resource.
std::string GetBuildNum();

// The value a variable name stands for: the first internal variable with
// exactly that name, else the first project variable with it, else "".
// The caller rebuilds the internal list first so clock values are current.
std::string VariableValue(const std::string& name, const TUserSettingList& internalVars,
                          const TUserSettingList& projectVars);

}  // namespace vlr
