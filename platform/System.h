// System services: the program's folder, temporary and system folders, the
// millisecond tick count, shell open, printers and the version resource.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vlr {

// Folder of the program file with a trailing "/"; VELORA_APPDIR overrides it.
std::string AppDir();
// The folder for temporary files, with a trailing "/".
std::string TempDir();
// Counterparts of the desktop's system and "Windows" folders, no trailing "/".
std::string SystemDir();
std::string WindowsDir();
// Milliseconds since an arbitrary fixed point (wraps like a 32-bit counter).
std::uint32_t TickCount();

// Opens a file, program or web address with the desktop's default handler.
// Under VELORA_PROMPTS=log the request is printed to stderr instead.
bool ShellOpen(const std::string& target);
// Tests replace the desktop handler; an empty hook restores it.
using ShellOpenHook = std::function<bool(const std::string&)>;
void SetShellOpenHook(ShellOpenHook hook);

// True when something can print. The PDF writer always can, so this is true
// unless VELORA_NO_PRINTER is set.
bool HasPrinter();

// The program's version resource.
int VersionResourceSize();
// "FileVersion" ("1.0.0.N") or "OriginalFilename" ("velora"); "" for other names.
std::string VersionValue(const std::string& name);

// True when prompts are logged to stderr and answered with their defaults.
bool PromptsAreLogged();

}  // namespace vlr
