// TFileSearch: the core of find in files. It searches a list of files (or a folder's files that
// match a mask) with the control's plain or expression search and lists every match with its
// file, line and line text; it also produces replace-in-files results, each file written whole.
// Files are searched in the stored form of the text (every line break one CR), so expressions
// mean what they mean in the editor; replacement keeps each file's own line breaks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/search/SearchMemory.h"

namespace velora::memo {

struct FileHit {
  std::string file;
  LineNo line = 0;      // one-based
  Pos column = 0;       // one-based byte column of the match start
  Pos start = 0;        // match in the stored form of the file's text
  Pos end = 0;
  std::string lineText; // the line holding the match start, without its break
  friend bool operator==(const FileHit&, const FileHit&) = default;
};

// Whether a file name matches a mask of ";"-separated wildcards ("*.htm;*.html"; "*" and "?",
// letter case ignored). An empty mask matches every name.
[[nodiscard]] bool MatchesFileMask(std::string_view name, std::string_view mask);
// The regular files under a folder (and its subfolders when recursive) whose names match the
// mask, sorted by path. A folder that cannot be read gives an empty list.
[[nodiscard]] std::vector<std::string> ListFiles(const std::string& folder, std::string_view mask, bool recursive = true);

// A file where an expression ran out of steps, and the (one-based) line where it stopped.
struct FileStop {
  std::string file;
  LineNo line = 0;
};

class TFileSearch {
 public:
  // The search text and flags (kSearchMatchCase, kSearchRegExp, kSearchWholeWord); a bad
  // expression raises ERegExprError here, before any file is read.
  TFileSearch(std::string text, unsigned flags);

  // Every match in one text (raw bytes of a file, any line breaks). Where the expression runs
  // out of steps the text's search ends and stopped() names it.
  void searchText(const std::string& file, std::string_view bytes, std::vector<FileHit>& out);
  // Every match in the files; a file that cannot be read is named in `errors`.
  std::vector<FileHit> searchFiles(const std::vector<std::string>& files, std::vector<std::string>* errors = nullptr);

  // The text with every match replaced (the replacement's breaks written as the text's own);
  // `count` receives the number of replacements.
  std::string replaceIn(std::string_view bytes, std::string_view with, int* count = nullptr);
  struct Replaced {
    std::string file;
    int count = 0;
  };
  // Replaces in every file that has a match; each file is written whole (a temporary file
  // renamed over it) or left as it was. Files that cannot be read or written are named in
  // `errors`; the result lists the files changed.
  [[nodiscard]] const std::vector<FileStop>& stopped() const noexcept { return stops_; }
  std::vector<Replaced> replaceInFiles(const std::vector<std::string>& files, std::string_view with,
                                       std::vector<std::string>* errors = nullptr);

 private:
  // Matches of the stored-form text, in order, not overlapping.
  std::vector<SearchMatch> matches(std::string_view stored, Pos* stoppedAt = nullptr);

  std::string text_;
  unsigned flags_;
  TSearchMemory memory_;
  std::vector<FileStop> stops_;
};

}  // namespace velora::memo
