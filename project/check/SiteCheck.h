// The site check: every page of a project built in memory (nothing is
// written) and checked by libtidy, by the rules of our own and for local
// links and images the built site does not have. Each problem is placed in
// the file its text came from, the page or an include, through the build's
// source map.
//
// Trust: the check reads what the build reads and under the same rule: a page
// or include outside the project's folder is read only when allowOutside
// says so (asked at most once). It writes nothing, so where the output folder
// lies does not matter; the output folder is only looked at for whether a
// linked file exists there.
#pragma once

#include "project/build/BuildVariables.h"
#include "project/build/Expander.h"
#include "project/build/SourceMap.h"
#include "project/check/CheckRules.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace vlr::check {

struct Problem {
    std::string rule;  // a rule's identifier, or "build" for a problem of the build itself
    Severity severity = Severity::Error;
    std::string file;  // full path of the file the text came from
    int line = 0;      // 1-based; 0 when the problem has no line
    int column = 0;    // 1-based, in characters; 0 when it has none
    std::string message;
    std::string page;  // full path of the page it was found in
    // The includes on the way, innermost first (see SourceLocation).
    std::vector<build::SourcePosition> includedFrom;
};

// What the checks found in a page's text, kept by a hash of the text and the
// rule settings: a page whose built text did not change is not checked again.
class CheckCache {
public:
    struct Entry {
        std::size_t offset;
        const char* rule;
        std::string message;
    };
    // Thread-safe.
    std::shared_ptr<const std::vector<Entry>> Find(std::uint64_t key) const;
    void Store(std::uint64_t key, std::shared_ptr<const std::vector<Entry>> findings);
    [[nodiscard]] std::size_t Size() const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<std::uint64_t, std::shared_ptr<const std::vector<Entry>>> entries_;
};

struct CheckRequest {
    std::string projectFile;
    build::BuildEnvironment environment;
    // Empty: every page of the project. Otherwise the pages to check (full
    // paths); the rest of the project still counts as the built site.
    std::vector<std::string> pages;
    // Texts that replace files' contents (the editor's unsaved pages), by full path.
    std::map<std::string, std::string> unsaved;
    // See the trust note above; unset or false: nothing is read outside.
    std::function<bool(const std::string& outside)> allowOutside;
    // Where findings are kept between checks; none: every page is checked.
    CheckCache* cache = nullptr;
};

struct CheckResult {
    // False when the project could not be read (the reason is in `problems`).
    bool ran = false;
    int pages = 0;
    // What lay outside the project's folder when the check was refused it.
    std::string refused;
    // Sorted by file, line, column; each problem once however many pages show it.
    std::vector<Problem> problems;

    [[nodiscard]] int Count(Severity severity) const;
};

CheckResult CheckSite(const CheckRequest& request);

}  // namespace vlr::check
