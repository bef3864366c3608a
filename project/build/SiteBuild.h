// The site build: turns the project's source files into the site's pages.
//
// A whole-project build goes through every file of the project in project
// order and writes each to OutputDir + the file's folder below SourceDir +
// its name with the extension ".html", skipping pages whose build record says
// nothing changed. A single-file build always builds the file it is given;
// in the preview case the page goes beside the source with ".htm" instead and
// the record is not touched. Every page is written whole or not at all, and
// never over a file the build reads. Outside the project's folder the build
// goes only when allowOutside says so (see BuildGuard.h).
#pragma once

#include "project/build/BuildReporter.h"
#include "project/build/BuildVariables.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vlr::build {

struct BuildRequest {
    std::string projectFile;
    // Empty: the whole project. Otherwise the one file to build.
    std::string sourceFile;
    // The preview case: the page goes beside the source with ".htm".
    bool preview = false;
    BuildEnvironment environment;
    // Asked when the build is about to read or write outside the project's
    // folder (see BuildGuard.h), with the words naming what lies outside,
    // e.g. `the include file "/etc/hostname"`; at most once per build. True
    // goes on as for a project the user trusts: nothing is asked again and
    // nothing is refused. Unset, or false: the build stops there. A callback
    // of the caller who starts the build (the core module asks the user, the
    // command line answers from --trust), not wiring between units.
    std::function<bool(const std::string& outside)> allowOutside;
};

struct BuildSummary {
    bool ok = false;
    int built = 0;
    int upToDate = 0;
    int failed = 0;
    std::int64_t milliseconds = 0;
    // The last status text: the result line.
    std::string result;
    // When the build stopped because it would have gone outside the
    // project's folder: what lay outside (as allowOutside was told).
    std::string refused;
    std::vector<Diagnostic> problems;
};

// Where the page of a source file goes: OutputDir/<folder below SourceDir>/
// <name>.html, or <source folder>/<name>.htm in the preview case. A file
// outside the source directory goes straight into OutputDir.
std::string OutputPathFor(const SiteProject& project, const std::string& source, bool preview);

BuildSummary BuildSite(const BuildRequest& request, BuildReporter& reporter);

}  // namespace vlr::build
