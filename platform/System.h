// System services: the program's folder, temporary and system folders, the
// millisecond tick count, shell open, printers and the version resource.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vlr {

// The folder with a trailing "/" ("" gets one too).
std::string WithSlash(std::string dir);
// Folder of the program file with a trailing "/"; VELORA_APPDIR overrides it.
std::string AppDir();
// Folder of the program file with a trailing "/", whatever VELORA_APPDIR says;
// "" when the system does not tell (no /proc).
std::string ProgramDir();

// Files the program keeps "beside itself" (preferences, styles, tools, editor
// settings, the recovery folder). A build's run folder is writable and keeps
// them in AppDir. An installed program's AppDir holds the marker file
// kInstalledMarker (or cannot be written); its files then live in the user's
// folder, $XDG_CONFIG_HOME/velora/ (default ~/.config/velora/).
inline constexpr const char* kInstalledMarker = "velora-installed";
// True when the program's own files go to AppDir.
bool AppDirIsWritable();
// The folder of the user's own files, with a trailing "/".
std::string UserDataDir();
// Path to write the file (or, with a trailing "/", the folder) `name`:
// UserDataDir() + name. In the user's folder the parent folders are made, and a
// file AppDir ships under that name is copied there first, so the user's copy
// starts from the shipped defaults.
std::string WritablePath(const std::string& name);
// Path to read `name` from: the user's copy when it exists, otherwise AppDir's.
std::string ReadablePath(const std::string& name);
// The plug-in folders, searched in this order: the user's own plugins/ (only
// for an installed program), then AppDir's. Each with a trailing "/".
std::vector<std::string> PluginDirs();
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
