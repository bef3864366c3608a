// Link extraction from built pages.
#include "libs/validate/LinkExtract.h"

#include <cctype>
#include <filesystem>

namespace vlr::validate {

namespace {

char Lower(char c) { return char(std::tolower(static_cast<unsigned char>(c))); }

bool MatchNoCase(const std::string& s, std::size_t at, const char* word) {
    for (std::size_t i = 0; word[i]; ++i)
        if (at + i >= s.size() || Lower(s[at + i]) != word[i])
            return false;
    return true;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string DecodeAmp(const std::string& v) {
    std::string out;
    for (std::size_t k = 0; k < v.size(); ++k) {
        out += v[k];
        if (v.compare(k, 5, "&amp;") == 0)
            k += 4;
    }
    return out;
}

// A scanner that counts lines as it moves; CR LF, LF and lone CR each end a line.
struct Scanner {
    const std::string& s;
    std::size_t i = 0;
    int line = 1;

    bool done() const { return i >= s.size(); }
    void step() {
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n')))
            ++line;
        ++i;
    }
    void skipTo(const char* end) {
        while (!done() && !MatchNoCase(s, i, end))
            step();
        for (std::size_t k = 0; end[k] && !done(); ++k)
            step();
    }
};

}  // namespace

std::vector<PageLink> ExtractLinks(const std::string& html) {
    std::vector<PageLink> links;
    Scanner sc{html};
    while (!sc.done()) {
        if (html[sc.i] != '<') {
            sc.step();
            continue;
        }
        if (MatchNoCase(html, sc.i, "<!--")) {
            sc.skipTo("-->");
            continue;
        }
        sc.step();
        if (sc.done() || !std::isalpha(static_cast<unsigned char>(html[sc.i])))
            continue;
        std::string tag;
        while (!sc.done() && !IsSpace(html[sc.i]) && html[sc.i] != '>' && html[sc.i] != '/') {
            tag += Lower(html[sc.i]);
            sc.step();
        }
        // Attributes up to the end of the tag.
        while (!sc.done() && html[sc.i] != '>') {
            if (IsSpace(html[sc.i]) || html[sc.i] == '/') {
                sc.step();
                continue;
            }
            std::string name;
            while (!sc.done() && !IsSpace(html[sc.i]) && html[sc.i] != '=' && html[sc.i] != '>') {
                name += Lower(html[sc.i]);
                sc.step();
            }
            while (!sc.done() && IsSpace(html[sc.i]))
                sc.step();
            if (sc.done() || html[sc.i] != '=')
                continue;
            sc.step();
            while (!sc.done() && IsSpace(html[sc.i]))
                sc.step();
            if (sc.done())
                break;
            const int line = sc.line;
            std::string value;
            if (html[sc.i] == '"' || html[sc.i] == '\'') {
                const char quote = html[sc.i];
                sc.step();
                while (!sc.done() && html[sc.i] != quote) {
                    value += html[sc.i];
                    sc.step();
                }
                if (!sc.done())
                    sc.step();
            } else {
                while (!sc.done() && !IsSpace(html[sc.i]) && html[sc.i] != '>') {
                    value += html[sc.i];
                    sc.step();
                }
            }
            if (name == "href" || name == "src") {
                std::size_t a = 0, b = value.size();
                while (a < b && IsSpace(value[a]))
                    ++a;
                while (b > a && IsSpace(value[b - 1]))
                    --b;
                links.push_back({DecodeAmp(value.substr(a, b - a)), line});
            }
        }
        if (!sc.done())
            sc.step();
        if (tag == "script")
            sc.skipTo("</script");
        else if (tag == "style")
            sc.skipTo("</style");
    }
    return links;
}

LinkKind KindOfLink(const std::string& target) {
    if (target.empty() || target[0] == '#')
        return LinkKind::Ignored;
    if (MatchNoCase(target, 0, "http://") || MatchNoCase(target, 0, "https://") ||
        MatchNoCase(target, 0, "ftp://") || MatchNoCase(target, 0, "ftps://") || target.rfind("//", 0) == 0)
        return LinkKind::External;
    if (MatchNoCase(target, 0, "file://"))
        return LinkKind::Internal;
    // Any other scheme (mailto:, javascript:, data:, tel:, ...) is not a file.
    const std::size_t colon = target.find(':');
    if (colon != std::string::npos && target.find_first_of("/?#") > colon) {
        bool scheme = std::isalpha(static_cast<unsigned char>(target[0]));
        for (std::size_t k = 0; k < colon && scheme; ++k)
            scheme = std::isalnum(static_cast<unsigned char>(target[k])) || target[k] == '+' || target[k] == '-' ||
                     target[k] == '.';
        if (scheme)
            return LinkKind::Ignored;
    }
    return LinkKind::Internal;
}

std::string ResolveInternal(const std::string& target, const std::string& pageDir, const std::string& siteRoot) {
    std::string t = target;
    if (MatchNoCase(t, 0, "file://")) {
        t = t.substr(7);
        if (MatchNoCase(t, 0, "localhost/"))
            t = t.substr(9);
    }
    t = t.substr(0, t.find_first_of("?#"));
    std::string decoded;
    for (std::size_t k = 0; k < t.size(); ++k) {
        if (t[k] == '%' && k + 2 < t.size() && std::isxdigit(static_cast<unsigned char>(t[k + 1])) &&
            std::isxdigit(static_cast<unsigned char>(t[k + 2]))) {
            decoded += char(std::stoi(t.substr(k + 1, 2), nullptr, 16));
            k += 2;
        } else {
            decoded += t[k];
        }
    }
    namespace fs = std::filesystem;
    fs::path p;
    if (MatchNoCase(target, 0, "file://"))
        p = fs::path(decoded);
    else if (!decoded.empty() && decoded[0] == '/')
        p = fs::path(siteRoot) / decoded.substr(1);
    else
        p = fs::path(pageDir) / decoded;
    return p.lexically_normal().string();
}

}  // namespace vlr::validate
