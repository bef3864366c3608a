// The desktop's list of recently used documents (the freedesktop.org
// "recently-used.xbel" file), to which opened documents are added.
#pragma once

#include <string>

namespace vlr {

// The list file: $XDG_DATA_HOME/recently-used.xbel, or
// $HOME/.local/share/recently-used.xbel.
std::string RecentDocumentsFile();

// Adds the document (a full path) to the list, or marks it used again when it
// is there. A list that cannot be read as one is left alone. Returns whether
// the list now holds the document.
bool AddToRecentDocs(const std::string& path);

}  // namespace vlr
