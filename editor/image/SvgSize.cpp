// The SVG reader: the size of the root element from its width and height
// (absolute units are turned into pixels at 96 per inch), completed from its
// viewBox when one of them is missing or relative.
#include "editor/image/ImageInfo.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace vlr::image {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Skips the prolog: byte-order mark, blanks, processing instructions,
// comments and the document type. Returns the position of the root element's
// "<", or npos.
std::size_t RootStart(std::string_view s) {
    std::size_t i = 0;
    if (s.substr(0, 3) == "\xEF\xBB\xBF")
        i = 3;
    while (i < s.size()) {
        if (IsSpace(s[i])) {
            ++i;
            continue;
        }
        if (s[i] != '<')
            return std::string_view::npos;
        if (s.substr(i, 2) == "<?") {
            const std::size_t e = s.find("?>", i + 2);
            if (e == std::string_view::npos)
                return e;
            i = e + 2;
        } else if (s.substr(i, 4) == "<!--") {
            const std::size_t e = s.find("-->", i + 4);
            if (e == std::string_view::npos)
                return e;
            i = e + 3;
        } else if (s.substr(i, 2) == "<!") {
            // A document type, possibly with an internal subset in brackets.
            std::size_t j = i + 2;
            int depth = 0;
            while (j < s.size() && !(s[j] == '>' && depth == 0)) {
                if (s[j] == '[')
                    ++depth;
                else if (s[j] == ']' && depth > 0)
                    --depth;
                ++j;
            }
            if (j >= s.size())
                return std::string_view::npos;
            i = j + 1;
        } else {
            return i;
        }
    }
    return std::string_view::npos;
}

struct RootAttributes {
    std::optional<std::string_view> width, height, viewBox;
};

RootAttributes ReadRoot(std::string_view s) {
    std::size_t i = RootStart(s);
    if (i == std::string_view::npos)
        throw ImageError("not a readable SVG picture (no root element)");
    ++i;
    std::size_t nameEnd = i;
    while (nameEnd < s.size() && !IsSpace(s[nameEnd]) && s[nameEnd] != '>' && s[nameEnd] != '/')
        ++nameEnd;
    std::string_view name = s.substr(i, nameEnd - i);
    if (const std::size_t colon = name.find(':'); colon != std::string_view::npos)
        name = name.substr(colon + 1);
    if (name != "svg")
        throw ImageError("not a readable SVG picture (the root element is not svg)");
    RootAttributes a;
    i = nameEnd;
    for (;;) {
        while (i < s.size() && IsSpace(s[i]))
            ++i;
        if (i >= s.size())
            throw ImageError("not a readable SVG picture (unfinished root element)");
        if (s[i] == '>' || s[i] == '/')
            return a;
        const std::size_t keyStart = i;
        while (i < s.size() && !IsSpace(s[i]) && s[i] != '=' && s[i] != '>')
            ++i;
        const std::string_view key = s.substr(keyStart, i - keyStart);
        while (i < s.size() && IsSpace(s[i]))
            ++i;
        if (i >= s.size() || s[i] != '=')
            throw ImageError("not a readable SVG picture (attribute without value)");
        ++i;
        while (i < s.size() && IsSpace(s[i]))
            ++i;
        if (i >= s.size() || (s[i] != '"' && s[i] != '\''))
            throw ImageError("not a readable SVG picture (unquoted attribute)");
        const char quote = s[i++];
        const std::size_t end = s.find(quote, i);
        if (end == std::string_view::npos)
            throw ImageError("not a readable SVG picture (unfinished attribute)");
        const std::string_view value = s.substr(i, end - i);
        i = end + 1;
        if (key == "width")
            a.width = value;
        else if (key == "height")
            a.height = value;
        else if (key == "viewBox")
            a.viewBox = value;
    }
}

// A number at the start of text; advances past it.
std::optional<double> Number(std::string_view& text) {
    while (!text.empty() && (IsSpace(text.front()) || text.front() == ','))
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    const std::string copy(text.substr(0, 64));
    char* end = nullptr;
    const double v = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str() || !std::isfinite(v))
        return std::nullopt;
    text.remove_prefix(std::size_t(end - copy.c_str()));
    return v;
}

// A length in pixels; nothing for relative units (%, em, ex) or bad text.
std::optional<double> Pixels(std::string_view text) {
    std::optional<double> v = Number(text);
    if (!v)
        return std::nullopt;
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    double scale = 0;
    if (text.empty() || text == "px")
        scale = 1;
    else if (text == "pt")
        scale = 96.0 / 72.0;
    else if (text == "pc")
        scale = 16;
    else if (text == "in")
        scale = 96;
    else if (text == "cm")
        scale = 96 / 2.54;
    else if (text == "mm")
        scale = 96 / 25.4;
    else
        return std::nullopt;
    return *v * scale;
}

int Rounded(double v) {
    // Pictures beyond a million pixels a side are taken as damaged.
    if (!(v >= 0.5) || v > 1e6)
        throw ImageError("not a readable SVG picture (impossible size)");
    return int(std::lround(v));
}

}  // namespace

ImageSize SvgSizeOf(const unsigned char* data, std::size_t size) {
    const RootAttributes a = ReadRoot(std::string_view(reinterpret_cast<const char*>(data), size));
    std::optional<double> w = a.width ? Pixels(*a.width) : std::nullopt;
    std::optional<double> h = a.height ? Pixels(*a.height) : std::nullopt;
    std::optional<double> vbw, vbh;
    if (a.viewBox) {
        std::string_view t = *a.viewBox;
        const auto x = Number(t), y = Number(t), bw = Number(t), bh = Number(t);
        if (x && y && bw && bh && *bw > 0 && *bh > 0) {
            vbw = bw;
            vbh = bh;
        }
    }
    if (w && !h && vbw)
        h = *w * *vbh / *vbw;
    else if (h && !w && vbw)
        w = *h * *vbw / *vbh;
    else if (!w && !h && vbw) {
        w = vbw;
        h = vbh;
    }
    if (!w || !h)
        throw ImageError("the SVG picture states no size (no width and height, no viewBox)");
    return {Rounded(*w), Rounded(*h)};
}

}  // namespace vlr::image
