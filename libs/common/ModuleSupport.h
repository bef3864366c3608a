// Helpers every outside module uses: the export marker of entry points, the
// owner widget of a module's dialogs, and the texts that cross the C boundary.
#pragma once

#include "platform/Window.h"

#include <QString>

#include <cstdint>
#include <string>

// Marks an entry point: C linkage and visible to the program's name look-up.
// Everything else in a module stays hidden.
#define VLR_ENTRY_POINT extern "C" __attribute__((visibility("default")))

class QWidget;

namespace vlr::modules {

// True when a QApplication runs, so widgets can be created.
bool HaveWidgetApplication();

// The widget dialogs of a module are parented to: the widget of the given
// window when it has one, otherwise the application's active window (may be
// nullptr).
QWidget* OwnerWidget(Handle window);

// Notes on stderr that a dialog was not shown because prompts are logged, in
// the form the prompter uses for its own boxes.
void LogSkippedDialog(const std::string& title);

// A zero-terminated text from the program; nullptr reads as "".
std::string TextFrom(const char* text);
// The same text for display (the bytes are taken as UTF-8).
QString DisplayText(const char* text);
// A file path from the program, decoded as the file system does.
QString PathFrom(const char* path);

// Copies text and a terminating zero into buffer, never writing more than
// size bytes. Returns false (writing nothing) when the buffer cannot hold the
// whole text.
bool CopyToBuffer(const std::string& text, char* buffer, std::int32_t size);

}  // namespace vlr::modules
