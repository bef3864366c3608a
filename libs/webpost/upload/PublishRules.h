// Which files of a site's output folder may be published. The rule lives here
// only: the upload plan asks it for every name and never sends what it refuses.
#pragma once

#include <string>

namespace vlr::upload {

// True when a file or folder name may be published. Refused are hidden names
// (".name": the build record, version control, the temporary names of an
// interrupted upload), preview pages ("~name"), editor backups ("name~",
// "name.bak", "#name#") and recovery copies ("name.vlrrec").
bool MayBePublished(const std::string& name);

// True when every part of a relative path may be published.
bool MayBePublishedPath(const std::string& relativePath);

// True when path, with every link followed, lies inside folder (itself
// resolved the same way). A path that cannot be resolved does not.
bool LiesInsideFolder(const std::string& path, const std::string& folder);

}  // namespace vlr::upload
