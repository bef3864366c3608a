// The build environment from the platform layer and the user's locale.
#include "project/build/SystemEnvironment.h"

#include "platform/System.h"

#include <QDateTime>
#include <QLocale>

namespace vlr::build {

BuildEnvironment SystemBuildEnvironment() {
    BuildEnvironment env;
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    env.TimeNow = locale.toString(now.time(), locale.timeFormat(QLocale::ShortFormat)).toStdString();
    env.DateNow = locale.toString(now.date(), locale.dateFormat(QLocale::ShortFormat)).toStdString();
    env.AppDir = vlr::AppDir();
    env.SystemDir = vlr::SystemDir();
    env.WinDir = vlr::WindowsDir();
    env.BuildNum = VersionResourceSize() <= 0 ? std::string("0.0.0.0") : VersionValue("FileVersion");
    return env;
}

}  // namespace vlr::build
