// "Open From the Web": asks for an address, fetches the document with a
// progress dialog that can cancel, saves it to a temporary file and opens it
// in an editor window through main-window message 3057 (wParam 1: as a
// document, so that a project file is opened as text, not as the project).
#pragma once

#include "libs/vlrsys/WebFetch.h"
#include "platform/Window.h"

#include <string>

class QWidget;

namespace vlr::sys {

// Fetches `address` and opens the result; a failure is shown as an error
// message and opens nothing. Returns the temporary file's path, or "".
std::string OpenFromWeb(const std::string& address, const FetchLimits& limits, Handle mainWindow, QWidget* owner);

// The whole command: the address prompt, then OpenFromWeb.
void RunOpenFromWeb(Handle mainWindow, QWidget* owner);

}  // namespace vlr::sys
