// The build language: variables and includes.
#include "project/build/Expander.h"

#include "project/build/FileIO.h"

#include <algorithm>
#include <cstring>

namespace vlr::build {
namespace {

// Line of a byte offset: lines end at LF, CR LF or a lone CR.
int lineAt(const std::string& text, std::size_t pos) {
    int line = 1;
    for (std::size_t i = 0; i < pos && i < text.size(); ++i) {
        if (text[i] == '\n')
            ++line;
        else if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
            ++line;
    }
    return line;
}

// End of a construct opened at `from`: the offset of `close` on the same
// line, or npos.
std::size_t closingOnLine(const std::string& text, std::size_t from, const char* close) {
    for (std::size_t i = from; i + 1 < text.size(); ++i) {
        char c = text[i];
        if (c == '\n' || c == '\r')
            return std::string::npos;
        if (c == close[0] && text[i + 1] == close[1])
            return i;
    }
    return std::string::npos;
}

// Text that would be a variable name: a letter or "_" first, then letters,
// digits, "_", "-" and ".". Everything else between "<%" and "%>" is taken as
// server script.
bool looksLikeName(std::string_view s) {
    if (s.empty() || s.size() > 255)
        return false;
    auto letter = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(static_cast<unsigned char>(s.front())))
        return false;
    return std::all_of(s.begin(), s.end(), [&](unsigned char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    });
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string joined(const std::string& folder, std::string_view name) {
    std::string out = folder;
    if (out.empty() || out.back() != '/')
        out += '/';
    out += name;
    return out;
}

// Lexically normalised absolute path, so that one file reached by two
// spellings ("a/../b.inc", "b.inc") is one entry in the cache and the cycle check.
std::string normalised(const std::string& path) {
    std::vector<std::string_view> parts;
    std::string_view p = path;
    std::size_t pos = 0;
    while (pos <= p.size()) {
        std::size_t slash = p.find('/', pos);
        if (slash == std::string_view::npos)
            slash = p.size();
        std::string_view part = p.substr(pos, slash - pos);
        pos = slash + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (std::string_view part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? std::string("/") : out;
}

std::string tooLarge(const char* through) {
    return "the page grows beyond " + std::to_string(kMaxPageBytes >> 20) + " MB through its " + through;
}

// Appends the map of an included text, placed at `base` in the output and
// brought in by the include at `site`.
void mergeMap(SourceMap& map, const SourceMap& included, std::size_t base, const SourceMap::Site& site) {
    std::vector<int> files;
    for (const SourceMap::File& f : included.FileTable())
        files.push_back(map.AddFile(f));
    const int outer = map.AddSite(site);
    const int first = static_cast<int>(map.Sites().size());
    for (const SourceMap::Site& s : included.Sites())
        map.AddSite({files[static_cast<std::size_t>(s.file)], s.source, s.parent < 0 ? outer : first + s.parent});
    for (SourceMap::Piece p : included.Pieces()) {
        p.outBegin += base;
        p.file = files[static_cast<std::size_t>(p.file)];
        p.site = p.site < 0 ? outer : first + p.site;
        map.AddPiece(p);
    }
}

}  // namespace

std::string Diagnostic::Describe() const {
    std::string out = file;
    if (line > 0) {
        out += ':';
        out += std::to_string(line);
    }
    out += ": ";
    out += text;
    return out;
}

struct Expander::Frame {
    std::string path;
};

struct Expander::Included {
    std::string text;
    // Where the text came from, offsets from its start: made once with the
    // include, merged into the page's map only when a page asks for one.
    SourceMap map;
    std::vector<std::string> dependencies;
    std::vector<Diagnostic> diagnostics;
};

Expander::Expander(const Switches& switches, const VariableTable& variables, std::string sourceDir)
    : switches_(switches), variables_(variables), sourceDir_(std::move(sourceDir)) {}

Expander::~Expander() = default;

std::string Expander::DisplayName(const std::string& path) const {
    if (!sourceDir_.empty() && path.size() > sourceDir_.size() + 1 &&
        path.compare(0, sourceDir_.size(), sourceDir_) == 0 && path[sourceDir_.size()] == '/')
        return path.substr(sourceDir_.size() + 1);
    return path;
}

Expansion Expander::ExpandPage(const std::string& path, const std::string& text,
                               const std::vector<std::string>& extraFolders, SourceMap* map) {
    Expansion out;
    std::vector<std::string> folders{folderOf(path)};
    folders.insert(folders.end(), extraFolders.begin(), extraFolders.end());
    if (!sourceDir_.empty())
        folders.push_back(sourceDir_);
    std::vector<Frame> stack{{normalised(path)}};
    out.text.reserve(text.size() + text.size() / 2);
    Recording rec;
    if (map) {
        *map = SourceMap{};
        rec.map = map;
        rec.file = map->AddFile(SourceMap::Index(normalised(path), text));
    }
    out.ok = expand(path, text, folders, stack, out, rec);
    if (!out.ok) {
        out.text.clear();
        if (map)
            *map = SourceMap{};
    }
    std::sort(out.dependencies.begin(), out.dependencies.end());
    out.dependencies.erase(std::unique(out.dependencies.begin(), out.dependencies.end()), out.dependencies.end());
    return out;
}

bool Expander::resolve(const std::string& name, const std::vector<std::string>& folders, std::string& found,
                       std::vector<std::string>& probed) {
    auto exists = [this](const std::string& candidate) {
        auto it = exists_.find(candidate);
        if (it == exists_.end()) {
            FileStamp s = StampOf(candidate);
            it = exists_.emplace(candidate, s.exists).first;
        }
        return it->second;
    };
    if (name.front() == '/') {
        found = normalised(name);
        probed.push_back(found);
        return exists(found);
    }
    const std::size_t first = probed.size();
    for (const std::string& folder : folders) {
        std::string candidate = normalised(joined(folder, name));
        // The same folder may be on the list twice (a page in the source directory).
        if (std::find(probed.begin() + std::ptrdiff_t(first), probed.end(), candidate) != probed.end())
            continue;
        probed.push_back(candidate);
        if (exists(candidate)) {
            found = candidate;
            return true;
        }
    }
    return false;
}

bool Expander::expand(const std::string& path, const std::string& text, const std::vector<std::string>& folders,
                      std::vector<Frame>& stack, Expansion& out, const Recording& rec) {
    auto report = [&](Diagnostic::Kind kind, std::size_t pos, std::string message) {
        out.diagnostics.push_back({kind, DisplayName(path), lineAt(text, pos), std::move(message)});
    };
    const bool vars = switches_.vars;
    const bool includes = switches_.includes;
    std::size_t copied = 0;
    std::size_t pos = 0;
    const char* data = text.data();
    // Copies the text up to `end` into the output.
    auto copy = [&](std::size_t end) {
        if (rec.map)
            rec.map->AddPiece({out.text.size(), end - copied, rec.file, copied, false, rec.site});
        out.text.append(data + copied, end - copied);
    };
    while (vars || includes) {
        const void* hit = pos < text.size() ? std::memchr(data + pos, '<', text.size() - pos) : nullptr;
        if (!hit)
            break;
        pos = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (pos + 1 >= text.size())
            break;
        const char kind = text[pos + 1];
        if (kind == '%' && vars) {
            std::size_t close = closingOnLine(text, pos + 2, "%>");
            if (close == std::string::npos) {
                pos += 2;
                continue;
            }
            std::string_view name(data + pos + 2, close - pos - 2);
            if (const std::string* value = variables_.Find(name)) {
                copy(pos);
                if (rec.map)
                    rec.map->AddPiece({out.text.size(), value->size(), rec.file, pos, true, rec.site});
                out.text += *value;
                copied = close + 2;
                if (out.text.size() > kMaxPageBytes) {
                    report(Diagnostic::Kind::Error, pos, tooLarge("variables"));
                    return false;
                }
            } else if (looksLikeName(name)) {
                std::string message = "undefined variable <%";
                message.append(name);
                message.append("%>");
                report(Diagnostic::Kind::Warning, pos, std::move(message));
            }
            pos = close + 2;
            continue;
        }
        if (kind == '&' && includes) {
            std::size_t close = closingOnLine(text, pos + 2, "&>");
            if (close == std::string::npos) {
                pos += 2;
                continue;
            }
            std::string name(trimmed(std::string_view(data + pos + 2, close - pos - 2)));
            if (name.empty()) {
                pos = close + 2;
                continue;
            }
            std::string found;
            if (!resolve(name, folders, found, out.dependencies)) {
                std::string message = "include file \"";
                message.append(name);
                message.append("\" not found");
                report(Diagnostic::Kind::Error, pos, std::move(message));
                return false;
            }
            auto onStack = std::find_if(stack.begin(), stack.end(), [&](const Frame& f) { return f.path == found; });
            if (onStack != stack.end()) {
                std::string chain;
                for (auto it = onStack; it != stack.end(); ++it)
                    chain += DisplayName(it->path) + " -> ";
                chain += DisplayName(found);
                report(Diagnostic::Kind::Error, pos, "include cycle: " + chain);
                return false;
            }
            if (static_cast<int>(stack.size()) > kMaxIncludeDepth) {
                report(Diagnostic::Kind::Error, pos,
                       "includes nested deeper than " + std::to_string(kMaxIncludeDepth) + " levels");
                return false;
            }
            copy(pos);
            const std::size_t at = pos;
            copied = close + 2;
            pos = close + 2;

            auto cached = cache_.find(found);
            if (cached == cache_.end()) {
                if (readCheck_) {
                    if (std::string refused = readCheck_(name, found); !refused.empty()) {
                        report(Diagnostic::Kind::Error, pos, std::move(refused));
                        return false;
                    }
                }
                std::string contents, error;
                if (!ReadWholeFile(found, contents, &error, kMaxPageBytes)) {
                    report(Diagnostic::Kind::Error, pos, "cannot read include file \"" + name + "\" (" + error + ")");
                    return false;
                }
                Expansion inner;
                auto entry = std::make_unique<Included>();
                Recording innerRec{&entry->map, entry->map.AddFile(SourceMap::Index(found, contents)), -1};
                stack.push_back({found});
                const bool ok = expand(found, contents, {folderOf(found), sourceDir_}, stack, inner, innerRec);
                stack.pop_back();
                out.dependencies.insert(out.dependencies.end(), inner.dependencies.begin(), inner.dependencies.end());
                out.diagnostics.insert(out.diagnostics.end(), inner.diagnostics.begin(), inner.diagnostics.end());
                if (!ok)
                    return false;
                entry->text = std::move(inner.text);
                entry->dependencies = std::move(inner.dependencies);
                entry->diagnostics = std::move(inner.diagnostics);
                cached = cache_.emplace(found, std::move(entry)).first;
            } else {
                const Included& inc = *cached->second;
                out.dependencies.insert(out.dependencies.end(), inc.dependencies.begin(), inc.dependencies.end());
                out.diagnostics.insert(out.diagnostics.end(), inc.diagnostics.begin(), inc.diagnostics.end());
            }
            if (rec.map)
                mergeMap(*rec.map, cached->second->map, out.text.size(), {rec.file, at, rec.site});
            out.text += cached->second->text;
            if (out.text.size() > kMaxPageBytes) {
                report(Diagnostic::Kind::Error, pos, tooLarge("includes"));
                return false;
            }
            continue;
        }
        ++pos;
    }
    copy(text.size());
    if (out.text.size() > kMaxPageBytes) {
        report(Diagnostic::Kind::Error, text.size(), tooLarge(vars ? "variables" : "includes"));
        return false;
    }
    return true;
}

}  // namespace vlr::build
