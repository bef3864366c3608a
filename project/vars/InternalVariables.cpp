#include "project/vars/InternalVariables.h"

#include "platform/System.h"

namespace vlr {
namespace {

// File name of a path: the part after the last "/"; "none" stays "none".
std::string fileNameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Directory part of a path with its trailing "/"; empty for a bare name
// (which covers "none", the project file of no project).
std::string directoryOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

TSystemVarSource CurrentSystemVarSource() {
    TSystemVarSource s;
    s.Now = QDateTime::currentDateTime();
    s.Locale = QLocale::system();
    s.TimeFormat = s.Locale.timeFormat(QLocale::ShortFormat);
    s.DateFormat = s.Locale.dateFormat(QLocale::ShortFormat);
    s.AppDir = AppDir();
    s.SystemDir = SystemDir();
    s.WinDir = WindowsDir();
    s.BuildNum = GetBuildNum();
    return s;
}

void InternalVars(TUserSettingList& list, const TProjectVarSource& project, const TSystemVarSource& system) {
    const std::string time = system.Locale.toString(system.Now.time(), system.TimeFormat).toStdString();
    const std::string date = system.Locale.toString(system.Now.date(), system.DateFormat).toStdString();
    const std::string projFile = fileNameOf(project.ProjectFile);

    list.Clear();
    list.Add("Header", kHeaderMarker + projFile + "::" + time + "::" + date + " -->");
    list.Add("SourceDir", project.SourceDir);
    list.Add("OutputDir", project.OutputDir);
    list.Add("ImageDir", project.ImageDir);
    list.Add("ImgPrefix", project.ImgPrefix);
    list.Add("TimeNow", time);
    list.Add("DateNow", date);
    list.Add("ProjectPath", directoryOf(project.ProjectFile));
    list.Add("VLRRootDir", system.AppDir);
    list.Add("SystemDir", system.SystemDir);
    list.Add("WinDir", system.WinDir);
    list.Add("BuildNum", system.BuildNum);
    list.Add("ProjFile", projFile);
    list.Add("SnippetsDir", system.AppDir + "snippets/");
}

void InternalVars(TUserSettingList& list, const TProjectVarSource& project) {
    InternalVars(list, project, CurrentSystemVarSource());
}

std::string BuildNumFromResource(int resourceSize, const std::string& fileVersion) {
    return resourceSize <= 0 ? std::string("0.0.0.0") : fileVersion;
}

std::string GetBuildNum() {
    return BuildNumFromResource(VersionResourceSize(), VersionValue("FileVersion"));
}

std::string VariableValue(const std::string& name, const TUserSettingList& internalVars,
                          const TUserSettingList& projectVars) {
    if (const TUserSetting* s = internalVars.FindSetting(name))
        return s->Value;
    if (const TUserSetting* s = projectVars.FindSetting(name))
        return s->Value;
    return {};
}

}  // namespace vlr
