// Finding plug-in libraries: a folder's entries in the order the file system
// lists them, then its sub-folders one after the other, depth first.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vlr {

// Told the name of every entry met, before it is looked at.
using SearchProgress = std::function<void(const std::string& name)>;

// Searches `dir` (ending in "/") for files whose upper-cased name contains
// the upper-cased `marker` anywhere, appending their paths to `result`.
// Names beginning with "." are neither taken nor searched. A folder reached
// twice through links is searched once.
void SearchForPlugIns(const std::string& dir, const std::string& marker, std::vector<std::string>& result,
                      const SearchProgress& progress);

// Searches each folder of `dirs` in turn (the user's own folder before the
// installed one) and answers the plug-ins found, in that order. A plug-in at
// the same place below a later folder as one already found (the same path
// relative to its folder) is left out: the user's copy replaces the shipped one.
std::vector<std::string> SearchPlugInFolders(const std::vector<std::string>& dirs, const std::string& marker,
                                             const SearchProgress& progress);

}  // namespace vlr
