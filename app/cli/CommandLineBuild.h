// `velora --build [--trust] project.vlr`: builds a site without any window,
// for scripts and CI. Problems and the result go to stderr; on a terminal a
// progress line shows the file being built. A build that would read or
// write outside the project's folder is refused, naming the first include,
// file or folder outside, unless --trust says the user trusts the project.
#pragma once

namespace vlr {

// True when the arguments ask for a command-line build.
bool IsCommandLineBuild(int argc, char** argv);

// Runs the build the arguments ask for and returns the process exit code:
// 0 when every page was built, 1 when the build failed, 2 when the
// arguments are wrong.
int RunCommandLineBuild(int argc, char** argv);

}  // namespace vlr
