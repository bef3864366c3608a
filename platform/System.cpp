#include "platform/System.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <chrono>
#include <cstdlib>
#include <iostream>

namespace vlr {
namespace {
ShellOpenHook& shellHook() {
    static ShellOpenHook hook;
    return hook;
}

}  // namespace

std::string TempDir() { return WithSlash(QDir::tempPath().toStdString()); }

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

bool PromptsAreLogged() {
    const char* env = std::getenv("VELORA_PROMPTS");
    return env && std::string(env) == "log";
}

}  // namespace vlr
