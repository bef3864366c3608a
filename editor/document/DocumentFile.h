// Reading and writing editor documents as files.
//
// Files are bytes: nothing is re-encoded. On loading, every line break of the
// file (CR LF, LF CR, lone CR, lone LF, pairs read left to right) becomes the
// single CR the text store keeps per hard break, and the break style of the
// file is remembered so that saving writes the document back in that style.
// Saving goes through a temporary file beside the target and a rename, so a
// failed save never damages the file already on disk.
#pragma once

#include <string>
#include <string_view>

namespace vlr {

// How hard breaks are written to a document's file. New documents use LF.
enum class BreakStyle { CRLF, LF, CR };

// The bytes one stored break is written as in the given style.
std::string_view BreakBytes(BreakStyle style) noexcept;

// The style of the first break in the bytes; LF when there is none. A file
// whose first break is LF CR counts as CR LF: it is written back with a
// two-byte break in the common order rather than in a style no other tool uses.
BreakStyle DetectBreakStyle(std::string_view bytes) noexcept;

struct LoadedDocument {
    bool ok = false;
    std::string text;                     // one CR per hard break
    BreakStyle style = BreakStyle::LF;    // the style the file was written in
    std::string error;                    // set when !ok
};

// Reads the whole file. A path that does not exist gives the error
// "Unable to find file " + path; any other failure (a folder, no permission,
// an error while reading) gives "Unable to read file " + path + ": " + reason.
LoadedDocument LoadDocument(const std::string& path);

// Writes the stored text with each CR turned into the style's break. A
// symbolic link is saved through its target and stays a link; an existing
// file keeps its permissions. Returns false with a reason in *error when the
// file could not be written; the old file is then left exactly as it was.
bool SaveDocument(const std::string& path, std::string_view storeText, BreakStyle style,
                  std::string* error = nullptr);

}  // namespace vlr
