#include "platform/System.h"

#include "platform/Version.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <unistd.h>
#include <climits>

namespace vlr {
namespace {
ShellOpenHook& shellHook() {
    static ShellOpenHook hook;
    return hook;
}

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}
}  // namespace

std::string AppDir() {
    if (const char* env = std::getenv("VELORA_APPDIR"); env && *env)
        return withSlash(env);
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "./";
    std::string exe(buf, static_cast<std::size_t>(n));
    return withSlash(exe.substr(0, exe.rfind('/')));
}

std::string TempDir() { return withSlash(QDir::tempPath().toStdString()); }

std::string SystemDir() { return "/usr/lib"; }

std::string WindowsDir() { return "/usr"; }

std::uint32_t TickCount() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

bool ShellOpen(const std::string& target) {
    if (shellHook())
        return shellHook()(target);
    if (PromptsAreLogged()) {
        std::cerr << "[shell-open] " << target << std::endl;
        return true;
    }
    QString t = QString::fromStdString(target);
    QUrl url = t.contains("://") ? QUrl(t) : QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

void SetShellOpenHook(ShellOpenHook hook) { shellHook() = std::move(hook); }

bool HasPrinter() {
    // VELORA_NO_PRINTER lets tests and headless runs state that there is none.
    const char* env = std::getenv("VELORA_NO_PRINTER");
    if (env && *env && std::string(env) != "0")
        return false;
    // Without a printer queue a page can still be printed into a PDF file.
    return true;
}

int VersionResourceSize() { return static_cast<int>(sizeof(VELORA_FILE_VERSION) + sizeof(VELORA_ORIGINAL_FILENAME)); }

std::string VersionValue(const std::string& name) {
    if (name == "FileVersion")
        return VELORA_FILE_VERSION;
    if (name == "OriginalFilename")
        return VELORA_ORIGINAL_FILENAME;
    return {};
}

bool PromptsAreLogged() {
    const char* env = std::getenv("VELORA_PROMPTS");
    return env && std::string(env) == "log";
}

}  // namespace vlr
