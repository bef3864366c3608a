// Pages built in memory for the live preview.
#include "project/build/LivePage.h"

#include "project/build/BuildGuard.h"
#include "project/build/Expander.h"
#include "project/build/RelativeFolder.h"
#include "project/build/SiteBuild.h"

#include <sys/stat.h>

#include <cstring>

namespace vlr::build {
namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The page as its own output: every byte maps to itself.
void mapToItself(const std::string& page, const std::string& text, SourceMap& map) {
    map = SourceMap();
    if (text.empty())
        return;
    const int file = map.AddFile(SourceMap::Index(page, text));
    SourceMap::Piece piece;
    piece.length = text.size();
    piece.file = file;
    map.AddPiece(piece);
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == ':' ||
           c == '_' || c == '.';
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Where the raw text of a `name` element ends: the start of its end tag, or
// the end of the page.
std::size_t rawTextEnd(const std::string& html, std::size_t from, const std::string& name) {
    for (std::size_t at = html.find("</", from); at != std::string::npos; at = html.find("</", at + 2)) {
        std::size_t k = 0;
        while (k < name.size() && at + 2 + k < html.size() && lower(html[at + 2 + k]) == name[k])
            ++k;
        if (k == name.size() && (at + 2 + k >= html.size() || !isNameChar(html[at + 2 + k])))
            return at;
    }
    return html.size();
}

// The end of a tag that starts at `from` (just past its '>'), quotes honoured.
std::size_t tagEnd(const std::string& html, std::size_t from) {
    char quote = 0;
    for (std::size_t i = from; i < html.size(); ++i) {
        const char c = html[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return html.size();
}

std::size_t skipPast(const std::string& html, std::size_t from, const char* end) {
    const std::size_t at = html.find(end, from);
    return at == std::string::npos ? html.size() : at + std::strlen(end);
}

// The tags of html[from, to) in order, as the preview's parser sees them:
// comments, declarations and processing instructions are passed over, and
// the raw text of script, style, textarea, title and xmp holds no tags.
// `visit(start, nameEnd, end, name, isEnd)` gets each start or end tag: where
// it starts, where its name ends, the end just past its ">" and its name in
// lower case. It returns false to stop.
template <typename Visit>
void forEachTag(const std::string& html, std::size_t from, std::size_t to, Visit visit) {
    std::size_t i = from;
    while ((i = html.find('<', i)) != std::string::npos && i < to) {
        if (html.compare(i, 4, "<!--") == 0) {
            i = skipPast(html, i + 4, "-->");
            continue;
        }
        if (html.compare(i, 2, "<?") == 0) {
            i = skipPast(html, i + 2, "?>");
            continue;
        }
        if (html.compare(i, 2, "<!") == 0) {
            i = tagEnd(html, i + 2);
            continue;
        }
        const bool isEnd = html.compare(i, 2, "</") == 0;
        const std::size_t nameStart = i + (isEnd ? 2 : 1);
        if (!isEnd && (nameStart >= to || !((html[nameStart] >= 'a' && html[nameStart] <= 'z') ||
                                            (html[nameStart] >= 'A' && html[nameStart] <= 'Z')))) {
            ++i;
            continue;
        }
        std::size_t nameEnd = nameStart;
        std::string name;
        while (nameEnd < to && isNameChar(html[nameEnd]))
            name += lower(html[nameEnd++]);
        const std::size_t end = tagEnd(html, nameEnd);
        if (!visit(i, nameEnd, end, name, isEnd))
            return;
        i = end;
        if (!isEnd && (name == "script" || name == "style" || name == "textarea" || name == "title" || name == "xmp"))
            i = rawTextEnd(html, i, name);
    }
}

// The text of html[from, to) with the offset (in `html`) of every start tag
// added to it (see MarkElementOffsets).
std::string markRange(const std::string& html, std::size_t from, std::size_t to) {
    std::string out;
    out.reserve((to - from) + (to - from) / 8);
    std::size_t copied = from;
    forEachTag(html, from, to, [&](std::size_t start, std::size_t nameEnd, std::size_t, const std::string&, bool isEnd) {
        if (!isEnd) {
            out.append(html, copied, nameEnd - copied);
            out.append(" data-vlr-at=\"");
            out.append(std::to_string(start));
            out.push_back('"');
            copied = nameEnd;
        }
        return true;
    });
    out.append(html, copied, to - copied);
    return out;
}

bool isVoid(const std::string& name) {
    static const char* const kVoid[] = {"area", "base", "br", "col", "embed", "hr", "img", "input",
                                        "link", "meta", "source", "track", "wbr", "param", "keygen"};
    for (const char* v : kVoid)
        if (name == v)
            return true;
    return false;
}

}  // namespace

std::string LiveProblem::Describe() const {
    return line > 0 ? file + ":" + std::to_string(line) + ": " + text : file + ": " + text;
}

bool LivePageBuilder::loadProject(const std::string& file, std::string& error) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        error = std::string("cannot read the project file (") + std::strerror(errno) + ")";
        projectLoaded_ = false;
        return false;
    }
    if (projectLoaded_ && file == projectFile_ && st.st_mtim.tv_sec == projectTime_.tv_sec &&
        st.st_mtim.tv_nsec == projectTime_.tv_nsec)
        return true;
    SiteProject project;
    if (!ReadSiteProject(file, project, error)) {
        projectLoaded_ = false;
        return false;
    }
    project_ = std::move(project);
    projectFile_ = file;
    projectTime_ = st.st_mtim;
    projectLoaded_ = true;
    return true;
}

LivePage LivePageBuilder::Build(const LivePageRequest& request) {
    LivePage out;
    const std::string page = LexicallyNormal(request.page);
    if (request.projectFile.empty() || request.projectFile == "none") {
        out.ok = true;
        out.html = request.text;
        mapToItself(page, request.text, out.map);
        out.pathInSite = std::string(1, '/').append(fileNameOf(page));
        return out;
    }
    std::string error;
    if (!loadProject(request.projectFile, error)) {
        out.problems.push_back({true, request.projectFile, 0, error});
        return out;
    }
    const std::string output = OutputPathFor(project_, page, false);
    out.siteFolder = project_.OutputDir;
    while (out.siteFolder.size() > 1 && out.siteFolder.back() == '/')
        out.siteFolder.pop_back();
    out.pathInSite = output.compare(0, out.siteFolder.size() + 1, out.siteFolder + "/") == 0
                         ? output.substr(out.siteFolder.size())
                         : std::string(1, '/').append(fileNameOf(output));

    VariableTable variables(project_, request.environment);
    Expander expander(project_.switches, variables, project_.SourceDir);
    BuildGuard guard(project_.ProjectFile);
    bool trusted = false, asked = false;
    expander.SetReadCheck([&](const std::string& name, const std::string& path) -> std::string {
        std::string resolved;
        if (trusted || guard.Inside(path, &resolved))
            return {};
        const std::string text = OutsideText("the include file", name, resolved);
        if (!asked) {
            asked = true;
            trusted = request.allowOutside && request.allowOutside(text);
            if (trusted)
                return {};
        }
        return text + " lies outside the project's folder";
    });
    Expansion built = expander.ExpandPage(page, request.text, {}, &out.map);
    for (const Diagnostic& d : built.diagnostics) {
        std::string file = d.file;
        if (!file.empty() && file.front() != '/' && !project_.SourceDir.empty())
            file = project_.SourceDir + "/" + file;
        out.problems.push_back({d.kind == Diagnostic::Kind::Error, file.empty() ? page : file, d.line, d.text});
    }
    out.ok = built.ok;
    if (built.ok)
        out.html = std::move(built.text);
    else
        out.map = SourceMap();
    return out;
}

std::string MarkElementOffsets(const std::string& html) { return markRange(html, 0, html.size()); }

std::optional<PagePatch> PatchBetween(const std::string& before, const std::string& after) {
    if (before == after)
        return std::nullopt;
    // The change: what lies between the common beginning and the common end.
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const std::size_t changeEnd = after.size() - tail;  // in `after`
    // The elements of the new page, nested as their written end tags close
    // them; the innermost one around the change wins.
    struct Open {
        std::string name;
        std::size_t start, startEnd;
    };
    std::vector<Open> open;
    std::optional<PagePatch> best;
    forEachTag(after, 0, after.size(),
               [&](std::size_t start, std::size_t, std::size_t end, const std::string& name, bool isEnd) {
                   if (start >= changeEnd && open.empty())
                       return false;
                   if (!isEnd) {
                       const bool selfClosed = end >= 2 && after[end - 2] == '/';
                       if (!selfClosed && !isVoid(name))
                           open.push_back({name, start, end});
                       return true;
                   }
                   for (std::size_t k = open.size(); k-- > 0;) {
                       if (open[k].name != name)
                           continue;
                       const Open& e = open[k];
                       if (e.startEnd <= head && start >= changeEnd && (!best || e.start > best->start) &&
                           name != "html" && name != "head" && name != "body") {
                           PagePatch patch;
                           patch.start = e.start;
                           patch.newEnd = end;
                           patch.oldEnd = end - after.size() + before.size();
                           best = patch;
                       }
                       open.resize(k);
                       break;
                   }
                   // The innermost element around the change closes first: none
                   // further on holds it more closely.
                   return !(best && end >= changeEnd);
               });
    if (best)
        best->marked = markRange(after, best->start, best->newEnd);
    return best;
}

}  // namespace vlr::build
