// Where a build reports its progress and result. The program turns these
// calls into main-window messages; the command line prints them; tests
// record them.
#pragma once

#include "project/build/Expander.h"

#include <string>

namespace vlr::build {

class BuildReporter {
public:
    virtual ~BuildReporter() = default;
    // Once, first: how many files the build goes through.
    virtual void FileCount(int count) = 0;
    // Once per file, after it.
    virtual void FileDone() = 0;
    // A status text: one per file, then the result of the build.
    virtual void StatusText(const std::string& text) = 0;
    // Once, last.
    virtual void Finished() = 0;
    // Every warning and error as it is found (each text once per build).
    virtual void Problem(const Diagnostic& problem) { (void)problem; }
};

}  // namespace vlr::build
