// Helpers shared by the outside modules.
#include "libs/common/ModuleSupport.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

#include <cstring>
#include <iostream>

namespace vlr::modules {

bool HaveWidgetApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

QWidget* OwnerWidget(Handle window) {
    if (QWidget* w = WindowWidget(window))
        return w->window();
    return HaveWidgetApplication() ? QApplication::activeWindow() : nullptr;
}

void LogSkippedDialog(const std::string& title) { std::cerr << "[dialog] " << title << std::endl; }

std::string TextFrom(const char* text) { return text ? std::string(text) : std::string(); }

QString DisplayText(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

QString PathFrom(const char* path) { return path ? QFile::decodeName(path) : QString(); }

bool CopyToBuffer(const std::string& text, char* buffer, std::int32_t size) {
    if (!buffer || size <= 0 || text.size() >= static_cast<std::size_t>(size))
        return false;
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}

}  // namespace vlr::modules
