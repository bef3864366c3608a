// The files of an output folder that an upload may publish, found by walking
// the folder. Links are followed only while they stay inside the folder, and
// never back into a folder they lie in.
#pragma once

#include <string>
#include <vector>

namespace vlr::upload {

// A file or folder of the local folder that is not published, and why.
struct LeftOutFile {
    std::string path;  // relative; a folder ends with "/"
    std::string why;   // "private file", "link outside the site", ...
    int files = 1;     // the files it stands for (all the files of a folder)
};

struct SiteFile {
    std::string path;   // relative, with "/" between the parts
    std::string local;  // the path to read it from
};

struct SiteListing {
    std::vector<SiteFile> files;         // by path
    std::vector<LeftOutFile> leftOut;    // by path
    std::string error;                   // the folder could not be listed
};

SiteListing ListSiteFiles(const std::string& folder);

}  // namespace vlr::upload
