// Where the program's own files live: AppDir for a build's run folder, the
// user's configuration folder for an installed program.
#include "platform/System.h"
#include "platform/PrivateTempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace vlr {
namespace {

std::string configHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg && xdg[0] == '/')
        return WithSlash(xdg);
    if (const char* home = std::getenv("HOME"); home && *home)
        return WithSlash(home) + ".config/";
    return WithSlash(QDir::homePath().toStdString()) + ".config/";
}

std::string cacheHome() {
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg && xdg[0] == '/')
        return WithSlash(xdg);
    if (const char* home = std::getenv("HOME"); home && *home)
        return WithSlash(home) + ".cache/";
    return WithSlash(QDir::homePath().toStdString()) + ".cache/";
}

// True when `dir` is a folder (not a link to one) owned by this user that no
// one else can enter.
bool isPrivateFolder(std::string dir) {
    // Without a trailing "/", so that a link is seen as the link.
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    struct stat info {};
    return ::lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0;
}

// Makes the folder (and its missing parents, each 0700) and checks that it is
// the user's own; a folder of the user with a wider mode is narrowed.
bool makePrivateFolder(const std::string& dir) {
    for (std::size_t slash = dir.find('/', 1); slash != std::string::npos; slash = dir.find('/', slash + 1))
        if (::mkdir(dir.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    std::string bare = dir;
    while (bare.size() > 1 && bare.back() == '/')
        bare.pop_back();
    struct stat info {};
    if (::lstat(bare.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if ((info.st_mode & 077) != 0 && ::chmod(bare.c_str(), 0700) != 0)
        return false;
    return isPrivateFolder(dir);
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

std::string PrivateTempDir() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/') {
        std::string base = WithSlash(runtime);
        base.pop_back();
        if (isPrivateFolder(base) && makePrivateFolder(base + "/velora/"))
            return base + "/velora/";
    }
    const std::string cache = cacheHome() + "velora/tmp/";
    return makePrivateFolder(cache) ? cache : std::string();
}

std::string PrivateTempFile(const std::string& name) {
    const std::string dir = PrivateTempDir();
    return dir.empty() ? std::string() : dir + name;
}

std::vector<std::string> PluginDirs() {
    std::vector<std::string> dirs;
    if (!AppDirIsWritable())
        dirs.push_back(configHome() + "velora/plugins/");
    dirs.push_back(AppDir() + "plugins/");
    return dirs;
}

}  // namespace vlr
