// Where the program's own files live: AppDir for a build's run folder, the
// user's configuration folder for an installed program.
#include "platform/System.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <unistd.h>

namespace vlr {
namespace {
std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string configHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && xdg[0] == '/')
        return withSlash(xdg);
    if (const char* home = std::getenv("HOME"); home && *home)
        return withSlash(home) + ".config/";
    return withSlash(QDir::homePath().toStdString()) + ".config/";
}

bool isFile(const std::string& path) { return QFileInfo(QString::fromStdString(path)).isFile(); }
}  // namespace

bool AppDirIsWritable() {
    const std::string dir = AppDir();
    if (QFileInfo::exists(QString::fromStdString(dir + kInstalledMarker)))
        return false;
    // A folder that does not exist is no installation: writes go there and
    // fail visibly instead of landing somewhere the caller did not expect.
    if (!QFileInfo::exists(QString::fromStdString(dir)))
        return true;
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataDir() { return AppDirIsWritable() ? AppDir() : configHome() + "velora/"; }

std::string WritablePath(const std::string& name) {
    if (AppDirIsWritable())
        return AppDir() + name;
    const std::string path = configHome() + "velora/" + name;
    const QString qpath = QString::fromStdString(path);
    const bool folder = !name.empty() && name.back() == '/';
    QDir().mkpath(folder ? qpath : QFileInfo(qpath).path());
    if (!folder && !QFileInfo::exists(qpath)) {
        const std::string shipped = AppDir() + name;
        if (isFile(shipped) && QFile::copy(QString::fromStdString(shipped), qpath))
            QFile(qpath).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return path;
}

std::string ReadablePath(const std::string& name) {
    if (!AppDirIsWritable()) {
        const std::string user = configHome() + "velora/" + name;
        if (QFileInfo::exists(QString::fromStdString(user)))
            return user;
    }
    return AppDir() + name;
}

std::vector<std::string> PluginDirs() {
    std::vector<std::string> dirs;
    if (!AppDirIsWritable())
        dirs.push_back(configHome() + "velora/plugins/");
    dirs.push_back(AppDir() + "plugins/");
    return dirs;
}

}  // namespace vlr
