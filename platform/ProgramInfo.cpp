// What the program knows of itself without any toolkit: its folder, the
// system folders and its version. The command-line launcher links this
// alone; the platform library holds the same code for everything else.
#include "platform/System.h"

#include "platform/Version.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace vlr {

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string ProgramDir() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    std::string exe(buf, static_cast<std::size_t>(n));
    return WithSlash(exe.substr(0, exe.rfind('/')));
}

std::string AppDir() {
    if (const char* env = std::getenv("VELORA_APPDIR"); env && *env)
        return WithSlash(env);
    const std::string dir = ProgramDir();
    return dir.empty() ? "./" : dir;
}

std::string SystemDir() { return "/usr/lib"; }

std::string WindowsDir() { return "/usr"; }

int VersionResourceSize() { return static_cast<int>(sizeof(VELORA_FILE_VERSION) + sizeof(VELORA_ORIGINAL_FILENAME)); }

std::string VersionValue(const std::string& name) {
    if (name == "FileVersion")
        return VELORA_FILE_VERSION;
    if (name == "OriginalFilename")
        return VELORA_ORIGINAL_FILENAME;
    return {};
}

}  // namespace vlr
