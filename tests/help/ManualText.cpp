#include "ManualText.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vlrtest {

namespace {

std::vector<std::string> AttributeValues(const std::string& html, const std::string& attribute) {
    std::vector<std::string> values;
    const std::string marker = attribute + "=\"";
    for (std::size_t at = html.find(marker); at != std::string::npos; at = html.find(marker, at + 1)) {
        if (at > 0 && !std::isspace(static_cast<unsigned char>(html[at - 1])))
            continue;
        // Only attributes of real tags, not markup shown as text ("&lt;img src=...").
        const std::size_t open = html.rfind('<', at), close = html.rfind('>', at);
        if (open == std::string::npos || (close != std::string::npos && close > open))
            continue;
        const std::size_t start = at + marker.size();
        const std::size_t end = html.find('"', start);
        if (end == std::string::npos)
            break;
        values.push_back(html.substr(start, end - start));
    }
    return values;
}

}  // namespace

std::map<std::string, std::string> ManualPages(const std::string& helpDir) {
    std::map<std::string, std::string> pages;
    for (const auto& entry : fs::directory_iterator(helpDir)) {
        if (entry.path().extension() != ".html")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        pages[entry.path().filename().string()] = s.str();
    }
    return pages;
}

std::vector<std::string> PageReferences(const std::string& html) {
    std::vector<std::string> refs = AttributeValues(html, "href");
    for (std::string& src : AttributeValues(html, "src"))
        refs.push_back(std::move(src));
    return refs;
}

std::vector<std::string> PageIds(const std::string& html) { return AttributeValues(html, "id"); }

std::string ReadableText(const std::string& html) {
    std::string text;
    bool blank = false;
    auto put = [&](const std::string& s) {
        for (char c : s) {
            if (std::isspace(static_cast<unsigned char>(c))) {
                blank = true;
                continue;
            }
            if (blank && !text.empty())
                text += ' ';
            blank = false;
            text += char(std::tolower(static_cast<unsigned char>(c)));
        }
    };
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string::npos)
                break;
            i = close;
            continue;
        }
        if (html[i] == '&') {
            const std::size_t semi = html.find(';', i);
            if (semi != std::string::npos && semi - i <= 8) {
                const std::string name = html.substr(i + 1, semi - i - 1);
                i = semi;
                if (name == "lt")
                    put("<");
                else if (name == "gt")
                    put(">");
                else if (name == "amp")
                    put("&");
                else if (name == "quot")
                    put("\"");
                else if (name == "nbsp")
                    put(" ");
                else if (name == "copy")
                    put("\u00a9");
                else if (name.size() > 1 && name[0] == '#') {
                    // Numeric entities as UTF-8.
                    unsigned long code = std::stoul(name.substr(name[1] == 'x' ? 2 : 1), nullptr, name[1] == 'x' ? 16 : 10);
                    std::string u;
                    if (code < 0x80)
                        u += char(code);
                    else if (code < 0x800)
                        u += {char(0xC0 | (code >> 6)), char(0x80 | (code & 0x3F))};
                    else
                        u += {char(0xE0 | (code >> 12)), char(0x80 | ((code >> 6) & 0x3F)), char(0x80 | (code & 0x3F))};
                    put(u);
                } else
                    put("&" + name + ";");
                continue;
            }
        }
        put(std::string(1, html[i]));
    }
    return text;
}

}  // namespace vlrtest
