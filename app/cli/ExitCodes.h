// The exit codes of every command-line run of the program, the same for each
// command: the build, the upload, --help and --version, and bad usage.
#pragma once

namespace vlr::cli {

inline constexpr int kExitOk = 0;      // the work is done
inline constexpr int kExitFailed = 1;  // the work was tried and failed
inline constexpr int kExitUsage = 2;   // bad usage, or the project named does not exist

}  // namespace vlr::cli
