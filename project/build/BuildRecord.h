// The build record: a small file in the output folder that remembers, for
// every page written, the stamps of its source, of every file its includes
// looked at and of the page itself, together with the project file's stamp.
// A page whose stamps all still match need not be built again.
#pragma once

#include "project/build/FileIO.h"

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vlr::build {

// Name of the record file in the output folder.
inline constexpr const char* kBuildRecordName = ".vlrbuild";

struct PageRecord {
    std::string source;
    FileStamp sourceStamp;
    FileStamp outputStamp;
    std::vector<std::pair<std::string, FileStamp>> dependencies;
};

class BuildRecord {
public:
    // Reads the record; a missing, unreadable or foreign file gives an empty
    // record (everything is built).
    void Load(const std::string& path);
    // Writes the record whole (temporary file and rename).
    [[nodiscard]] bool Save(const std::string& path, std::string* error = nullptr) const;

    // Pages built under another project file (or another version of it) no
    // longer count: a different stamp empties the record.
    void UseProjectStamp(const FileStamp& stamp);

    // True when the page at `output` was recorded from `source` and nothing
    // it depends on changed. Stamps are looked up through `stamps`, a cache
    // the caller keeps for one build.
    [[nodiscard]] bool UpToDate(const std::string& output, const std::string& source,
                                std::unordered_map<std::string, FileStamp>& stamps) const;

    void Set(const std::string& output, PageRecord page) {
        pages_[output] = std::move(page);
        changed_ = true;
    }
    void Forget(const std::string& output) { changed_ = pages_.erase(output) > 0 || changed_; }
    // Keeps only the pages for which keep(output) is true.
    template <class Keep> void Retain(Keep keep) {
        for (auto it = pages_.begin(); it != pages_.end();) {
            if (keep(it->first)) {
                ++it;
            } else {
                it = pages_.erase(it);
                changed_ = true;
            }
        }
    }
    [[nodiscard]] std::size_t size() const { return pages_.size(); }
    // True when the record differs from what Load read.
    [[nodiscard]] bool Changed() const { return changed_; }

private:
    bool changed_ = false;
    FileStamp project_;
    std::map<std::string, PageRecord> pages_;
};

}  // namespace vlr::build
