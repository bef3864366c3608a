// Where the text of a built page came from: for every byte of the output, the
// file that holds it (the page itself or an include, at any depth) and the
// line and column there, with the chain of includes that brought it in.
//
// Text copied from a file maps to the very character it was copied from. The
// value of a variable maps, all of it, to the "<%" that named it. The map is
// made by the Expander when asked for (ExpandPage with a map) and is
// self-contained: it keeps the files' names and line tables, not their text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vlr::build {

// A place in a source file. `file` is the full path; line and column are
// 1-based, the column counted in characters (UTF-8 sequences count once).
struct SourcePosition {
    std::string file;
    int line = 0;
    int column = 0;

    bool operator==(const SourcePosition&) const = default;
};

struct SourceLocation {
    SourcePosition at;
    // True when the output there is a variable's value: `at` is the "<%"
    // that named it.
    bool fromVariable = false;
    // The "<&" of each include on the way, innermost first: empty for text
    // of the page itself.
    std::vector<SourcePosition> includedFrom;
};

class SourceMap {
public:
    // The origin of the output byte at `offset`; nothing past the end of the
    // output or for an empty map.
    [[nodiscard]] std::optional<SourceLocation> Locate(std::size_t offset) const;
    // The output range [begin, end) built from `file` (a full path) at
    // `line`, the first one when the line is used several times (an include
    // used twice): the way back from the source to the page. Nothing when no
    // output comes from that line.
    [[nodiscard]] std::optional<std::pair<std::size_t, std::size_t>> OutputRange(const std::string& file,
                                                                                 int line) const;
    // The output range [begin, end) that the first include written at `line`
    // of `file` brought in, with everything its own includes brought: where
    // a line that is an include shows in the page. Nothing when no include
    // is written there or it gave no output.
    [[nodiscard]] std::optional<std::pair<std::size_t, std::size_t>> IncludedRange(const std::string& file,
                                                                                   int line) const;
    // Every file the output came from, the page first.
    [[nodiscard]] std::vector<std::string> Files() const;
    [[nodiscard]] bool Empty() const { return pieces_.empty(); }

    // Building (the Expander's side).
    struct File {
        std::string path;
        std::shared_ptr<const std::vector<std::uint32_t>> lineStarts;
        // The lines' texts are not kept; the byte offsets of multi-byte
        // characters are, so columns count characters.
        std::shared_ptr<const std::vector<std::uint32_t>> wideBytes;
    };
    struct Piece {
        std::size_t outBegin = 0;
        std::size_t length = 0;
        int file = 0;
        std::size_t source = 0;  // offset in the file
        bool variable = false;   // a variable's value: every byte maps to `source`
        int site = -1;           // the include that brought it in, -1: the page
    };
    struct Site {
        int file = 0;
        std::size_t source = 0;  // the "<&" in the including file
        int parent = -1;
    };
    int AddFile(File file);
    void AddPiece(const Piece& piece);
    int AddSite(const Site& site);
    [[nodiscard]] const std::vector<Piece>& Pieces() const { return pieces_; }
    [[nodiscard]] const std::vector<Site>& Sites() const { return sites_; }
    [[nodiscard]] const std::vector<File>& FileTable() const { return files_; }

    // The line table of a text: where lines start and where multi-byte
    // characters are.
    static File Index(std::string path, const std::string& text);

private:
    SourcePosition position(int file, std::size_t offset) const;
    // A line of a file: the file's index and the line's byte range in it.
    struct LineSpan {
        int file = 0;
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    std::optional<LineSpan> lineSpan(const std::string& file, int line) const;

    std::vector<File> files_;
    std::vector<Piece> pieces_;
    std::vector<Site> sites_;
};

}  // namespace vlr::build
