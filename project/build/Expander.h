// The build language: turns a source page into its output text.
//
//   <%name%>   the value of the variable `name` (switch "vars"). A name no
//              variable has stays as written and is reported as undefined
//              when it looks like a name; other text between "<%" and "%>"
//              (server script) is left alone without a word.
//   <&file&>   the contents of `file` (switch "includes"), looked up in the
//              including file's folder, then in the source directory; an
//              absolute name is taken as it is. Included text is expanded
//              the same way, to any depth; a file that includes itself again
//              on the way is an error naming the cycle.
//
// Both forms end on the line they start on. Anything else, including the
// constructs of the other switches, passes through unchanged.
#pragma once

#include "project/build/BuildVariables.h"
#include "project/build/SiteProject.h"
#include "project/build/SourceMap.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vlr::build {

struct Diagnostic {
    enum class Kind { Warning, Error };
    Kind kind = Kind::Error;
    std::string file;  // as shown: relative to the source directory when below it
    int line = 0;      // 1-based; 0 when the problem has no line
    std::string text;

    // "file:line: text" (or "file: text" without a line).
    [[nodiscard]] std::string Describe() const;
};

// Included files nested deeper than this are refused, as are pages that grow
// beyond kMaxPageBytes, through includes or variables, and files larger than
// that: all only happen with a runaway structure or a hostile project.
inline constexpr int kMaxIncludeDepth = 64;
inline constexpr std::size_t kMaxPageBytes = std::size_t{64} << 20;

struct Expansion {
    bool ok = true;
    std::string text;
    // Every path looked at while resolving includes, at any depth, found or
    // not: the page must be built again when any of them changes, appears or
    // disappears.
    std::vector<std::string> dependencies;
    std::vector<Diagnostic> diagnostics;
};

// Expands pages of one build. Included files are read and expanded once per
// Expander and reused for every page that includes them.
class Expander {
public:
    Expander(const Switches& switches, const VariableTable& variables, std::string sourceDir);
    ~Expander();

    // Expands the text of the page at `path`. `extraFolders` are searched for
    // includes after the page's own folder and before the source directory.
    // With `map`, the map of where the output came from is made in it
    // (replacing what it held); without, no time is spent on one.
    Expansion ExpandPage(const std::string& path, const std::string& text,
                         const std::vector<std::string>& extraFolders = {}, SourceMap* map = nullptr);

    // How a path is shown in messages.
    [[nodiscard]] std::string DisplayName(const std::string& path) const;

    // Asked before an include file is read, with the name as written and
    // the file found: an empty answer lets it be read, any other text is the
    // error that stops the page. Without a check every file found is read.
    using ReadCheck = std::function<std::string(const std::string& name, const std::string& path)>;
    void SetReadCheck(ReadCheck check) { readCheck_ = std::move(check); }

private:
    struct Included;
    struct Frame;
    // Where expand() records the origin of its output: the map, the file's
    // number in it and the include that brought the text in.
    struct Recording {
        SourceMap* map = nullptr;
        int file = 0;
        int site = -1;
    };
    bool expand(const std::string& path, const std::string& text, const std::vector<std::string>& folders,
                std::vector<Frame>& stack, Expansion& out, const Recording& rec);
    const Included& include(const std::string& path, std::vector<Frame>& stack);
    bool resolve(const std::string& name, const std::vector<std::string>& folders, std::string& found,
                 std::vector<std::string>& probed);

    Switches switches_;
    const VariableTable& variables_;
    std::string sourceDir_;
    ReadCheck readCheck_;
    std::unordered_map<std::string, std::unique_ptr<Included>> cache_;
    std::unordered_map<std::string, bool> exists_;
};

}  // namespace vlr::build
