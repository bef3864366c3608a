// Links that name files on this machine: "file://" addresses and the relative
// links of a page ("page.html", "../img/a.gif", "/about.html"), found on disk
// from the folder of the document that holds them or the project's output folder.
#pragma once

#include <string>

namespace vlr::validate {

// The folders a document's relative links are resolved against; either may be
// empty (an unsaved document, no project).
struct LinkBase {
    std::string documentDir;
    std::string outputDir;
};

// A relative link of a page, as the editor may report it: no scheme, no blank,
// not a fragment of the same page and not a server or variable reference.
bool IsRelativeLink(const std::string& text);

// The file a "file://" address or a relative link names. An absolute
// "file://" path stands for itself. A relative link (also "file://page.html")
// is looked for in the document's folder, then in the output folder; the first
// place where it exists wins, else the first place tried is given (the check
// then reports it missing). A link starting with "/" is taken from the output
// folder (the site's root), or the document's folder without a project.
// Empty when the link is relative and there is no folder to resolve it against.
std::string LocalLinkPath(const std::string& link, const LinkBase& base);

}  // namespace vlr::validate
