// The site build: turns the project's source files into the site's pages.
//
// A whole-project build goes through every file of the project in project
// order and writes each to OutputDir + the file's folder below SourceDir +
// its name with the extension ".html", skipping pages whose build record says
// nothing changed. A single-file build always builds the file it is given;
// in the preview case the page goes beside the source with ".htm" instead and
// the record is not touched. Every page is written whole or not at all.
#pragma once

#include "project/build/BuildReporter.h"
#include "project/build/BuildVariables.h"

#include <cstdint>
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
};

struct BuildSummary {
    bool ok = false;
    int built = 0;
    int upToDate = 0;
    int failed = 0;
    std::int64_t milliseconds = 0;
    // The last status text: the result line.
    std::string result;
    std::vector<Diagnostic> problems;
};

// Where the page of a source file goes: OutputDir/<folder below SourceDir>/
// <name>.html, or <source folder>/<name>.htm in the preview case. A file
// outside the source directory goes straight into OutputDir.
std::string OutputPathFor(const SiteProject& project, const std::string& source, bool preview);

BuildSummary BuildSite(const BuildRequest& request, BuildReporter& reporter);

}  // namespace vlr::build
