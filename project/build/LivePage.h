// The page a live preview shows: the text of an editor (saved or not) built
// in memory as the site build would build it, with the project's variables
// and includes expanded, the map of where every byte came from, and the
// problems of the build placed at their files and lines. Nothing is written.
//
// Without a project the page is its own text and maps to itself.
#pragma once

#include "project/build/BuildVariables.h"
#include "project/build/SiteProject.h"
#include "project/build/SourceMap.h"

#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vlr::build {

struct LiveProblem {
    bool error = true;
    std::string file;  // full path of the file the problem is in
    int line = 0;      // 1-based; 0 when it has none
    std::string text;

    // "file:line: text" with the file as given.
    [[nodiscard]] std::string Describe() const;
};

struct LivePage {
    // False when the build could not make the page (a missing include, a
    // cycle): `html` is empty and `problems` says why.
    bool ok = false;
    std::string html;
    SourceMap map;
    std::vector<LiveProblem> problems;
    // The built site the page stands in (OutputDir; "" without a project)
    // and where in it ("/" followed by the path below that folder).
    std::string siteFolder;
    std::string pathInSite;
};

struct LivePageRequest {
    // "" or "none": the page alone.
    std::string projectFile;
    // The page's full path; for a page without a file, a name in the source
    // folder (its includes are looked up there).
    std::string page;
    std::string text;
    BuildEnvironment environment;
    // Asked before anything outside the project's folder is read; unset or
    // false: nothing outside is read (see BuildGuard.h). A question to the
    // caller, as for BuildRequest: only the caller can ask the user, and only
    // when a page turns out to need it.
    std::function<bool(const std::string& outside)> allowOutside;
};

// Builds pages for one editor's preview. The project file is read again only
// when it changed on disk.
class LivePageBuilder {
public:
    LivePage Build(const LivePageRequest& request);

private:
    bool loadProject(const std::string& file, std::string& error);

    std::string projectFile_;
    std::timespec projectTime_{};
    bool projectLoaded_ = false;
    SiteProject project_;
};

// The built page with the byte offset of every element's start tag added to
// the tag as the attribute `data-vlr-at`, for the preview's own script to
// read and remove: a copy of the DOM made from this text knows which output
// byte each element came from. Start tags inside comments, raw text
// (script, style, textarea, title) and declarations get none.
std::string MarkElementOffsets(const std::string& html);

// A change from one built page to the next as the preview applies it: the
// innermost element that holds the whole change between its own start and
// end tags (both written out, and outside the change) is replaced by its new
// text. `start` is the offset of its start tag (the same in both pages),
// `oldEnd` and `newEnd` the ends of its end tag before and after; `marked` is
// its new text with its elements' offsets (as MarkElementOffsets gives them,
// counted in the new page).
struct PagePatch {
    std::size_t start = 0;
    std::size_t oldEnd = 0;
    std::size_t newEnd = 0;
    std::string marked;
};

// The patch from `before` to `after`; nothing when they are the same or no
// element other than html, head and body holds the change (the whole page
// is then shown again).
std::optional<PagePatch> PatchBetween(const std::string& before, const std::string& after);

}  // namespace vlr::build
