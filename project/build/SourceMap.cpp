// The map from a built page back to its source files.
#include "project/build/SourceMap.h"

#include <algorithm>

namespace vlr::build {

SourceMap::File SourceMap::Index(std::string path, const std::string& text) {
    auto starts = std::make_shared<std::vector<std::uint32_t>>();
    auto wide = std::make_shared<std::vector<std::uint32_t>>();
    starts->push_back(0);
    const std::size_t n = text.size();
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = data[i];
        if (c >= 0x80) {
            // Continuation bytes do not start a character of their own.
            if (c < 0xC0)
                wide->push_back(static_cast<std::uint32_t>(i));
        } else if (c == '\n') {
            starts->push_back(static_cast<std::uint32_t>(i + 1));
        } else if (c == '\r' && (i + 1 >= n || data[i + 1] != '\n')) {
            starts->push_back(static_cast<std::uint32_t>(i + 1));
        }
    }
    return File{std::move(path), std::move(starts), std::move(wide)};
}

int SourceMap::AddFile(File file) {
    for (std::size_t i = 0; i < files_.size(); ++i)
        if (files_[i].path == file.path)
            return static_cast<int>(i);
    files_.push_back(std::move(file));
    return static_cast<int>(files_.size()) - 1;
}

void SourceMap::AddPiece(const Piece& piece) {
    if (piece.length == 0)
        return;
    // A copy that continues the last one (text around an unknown name) is one piece.
    if (!pieces_.empty()) {
        Piece& last = pieces_.back();
        if (!last.variable && !piece.variable && last.file == piece.file && last.site == piece.site &&
            last.outBegin + last.length == piece.outBegin && last.source + last.length == piece.source) {
            last.length += piece.length;
            return;
        }
    }
    pieces_.push_back(piece);
}

int SourceMap::AddSite(const Site& site) {
    sites_.push_back(site);
    return static_cast<int>(sites_.size()) - 1;
}

SourcePosition SourceMap::position(int file, std::size_t offset) const {
    const File& f = files_[static_cast<std::size_t>(file)];
    SourcePosition p;
    p.file = f.path;
    const auto& starts = *f.lineStarts;
    auto it = std::upper_bound(starts.begin(), starts.end(), static_cast<std::uint32_t>(offset));
    const std::size_t lineIndex = static_cast<std::size_t>(it - starts.begin()) - 1;
    const std::uint32_t lineStart = starts[lineIndex];
    const auto& wide = *f.wideBytes;
    const auto from = std::lower_bound(wide.begin(), wide.end(), lineStart);
    const auto to = std::lower_bound(from, wide.end(), static_cast<std::uint32_t>(offset));
    p.line = static_cast<int>(lineIndex) + 1;
    p.column = static_cast<int>(offset - lineStart - static_cast<std::size_t>(to - from)) + 1;
    return p;
}

std::optional<SourceLocation> SourceMap::Locate(std::size_t offset) const {
    auto it = std::upper_bound(pieces_.begin(), pieces_.end(), offset,
                               [](std::size_t o, const Piece& p) { return o < p.outBegin; });
    if (it == pieces_.begin())
        return std::nullopt;
    const Piece& piece = *(it - 1);
    if (offset >= piece.outBegin + piece.length)
        return std::nullopt;
    SourceLocation loc;
    loc.fromVariable = piece.variable;
    loc.at = position(piece.file, piece.variable ? piece.source : piece.source + (offset - piece.outBegin));
    for (int site = piece.site; site >= 0; site = sites_[static_cast<std::size_t>(site)].parent) {
        const Site& s = sites_[static_cast<std::size_t>(site)];
        loc.includedFrom.push_back(position(s.file, s.source));
    }
    return loc;
}

std::optional<SourceMap::LineSpan> SourceMap::lineSpan(const std::string& file, int line) const {
    int index = -1;
    for (std::size_t i = 0; i < files_.size(); ++i)
        if (files_[i].path == file)
            index = static_cast<int>(i);
    if (index < 0 || line < 1)
        return std::nullopt;
    const auto& starts = *files_[static_cast<std::size_t>(index)].lineStarts;
    if (static_cast<std::size_t>(line) > starts.size())
        return std::nullopt;
    const std::size_t lineBegin = starts[static_cast<std::size_t>(line) - 1];
    const std::size_t lineEnd =
        static_cast<std::size_t>(line) < starts.size() ? starts[static_cast<std::size_t>(line)] : SIZE_MAX;
    return LineSpan{index, lineBegin, lineEnd};
}

std::optional<std::pair<std::size_t, std::size_t>> SourceMap::IncludedRange(const std::string& file,
                                                                            int line) const {
    const auto span = lineSpan(file, line);
    if (!span)
        return std::nullopt;
    // The first include written on the line, and everything it brought in,
    // its own includes too: their output is one stretch of the page.
    int site = -1;
    for (std::size_t s = 0; s < sites_.size() && site < 0; ++s)
        if (sites_[s].file == span->file && sites_[s].source >= span->begin && sites_[s].source < span->end)
            site = static_cast<int>(s);
    if (site < 0)
        return std::nullopt;
    auto broughtIn = [&](int s) {
        for (; s >= 0; s = sites_[static_cast<std::size_t>(s)].parent)
            if (s == site)
                return true;
        return false;
    };
    std::optional<std::pair<std::size_t, std::size_t>> range;
    for (const Piece& p : pieces_) {
        if (p.length == 0 || !broughtIn(p.site))
            continue;
        if (!range)
            range.emplace(p.outBegin, p.outBegin + p.length);
        else
            range->second = p.outBegin + p.length;
    }
    return range;
}

std::optional<std::pair<std::size_t, std::size_t>> SourceMap::OutputRange(const std::string& file, int line) const {
    const auto span = lineSpan(file, line);
    if (!span)
        return std::nullopt;
    const int index = span->file;
    const std::size_t lineBegin = span->begin;
    const std::size_t lineEnd = span->end;
    std::optional<std::pair<std::size_t, std::size_t>> range;
    for (const Piece& p : pieces_) {
        if (p.file != index) {
            if (range)
                break;
            continue;
        }
        std::size_t from = 0, to = 0;
        if (p.variable) {
            if (p.source < lineBegin || p.source >= lineEnd) {
                if (range)
                    break;
                continue;
            }
            from = p.outBegin;
            to = p.outBegin + p.length;
        } else {
            const std::size_t a = std::max(p.source, lineBegin);
            const std::size_t b = std::min(p.source + p.length, lineEnd);
            if (a >= b) {
                if (range)
                    break;
                continue;
            }
            from = p.outBegin + (a - p.source);
            to = p.outBegin + (b - p.source);
        }
        if (!range)
            range.emplace(from, to);
        else
            range->second = to;
    }
    return range;
}

std::vector<std::string> SourceMap::Files() const {
    std::vector<std::string> out;
    out.reserve(files_.size());
    for (const File& f : files_)
        out.push_back(f.path);
    return out;
}

}  // namespace vlr::build
