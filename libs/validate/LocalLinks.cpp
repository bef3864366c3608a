#include "libs/validate/LocalLinks.h"

#include "libs/validate/LinkExtract.h"

#include <cctype>
#include <filesystem>
#include <vector>

namespace vlr::validate {
namespace {

bool StartsNoCase(const std::string& s, const char* word) {
    std::size_t i = 0;
    for (; word[i]; ++i)
        if (i >= s.size() || std::tolower(static_cast<unsigned char>(s[i])) != word[i])
            return false;
    return true;
}

}  // namespace

bool IsRelativeLink(const std::string& text) {
    if (text.empty() || text.size() > 2048 || text[0] == '#')
        return false;
    for (const char c : text)
        if (std::isspace(static_cast<unsigned char>(c)) || c == '<' || c == '>' || c == '"' || c == '\'')
            return false;
    return KindOfLink(text) == LinkKind::Internal;
}

std::string LocalLinkPath(const std::string& link, const LinkBase& base) {
    std::string target = link;
    if (StartsNoCase(target, "file://")) {
        std::string rest = target.substr(7);
        if (StartsNoCase(rest, "localhost/"))
            rest = rest.substr(9);
        if (!rest.empty() && rest[0] == '/')
            return ResolveInternal(link, base.documentDir, base.outputDir);
        target = rest;  // "file://page.html": relative to the document
    }
    std::vector<std::string> folders;
    if (!base.documentDir.empty())
        folders.push_back(base.documentDir);
    if (!base.outputDir.empty() && base.outputDir != base.documentDir)
        folders.push_back(base.outputDir);
    if (folders.empty() || target.empty())
        return {};
    const std::string root = base.outputDir.empty() ? base.documentDir : base.outputDir;
    std::string first;
    for (const std::string& folder : folders) {
        const std::string path = ResolveInternal(target, folder, root);
        if (first.empty())
            first = path;
        std::error_code ec;
        if (std::filesystem::exists(path, ec))
            return path;
    }
    return first;
}

}  // namespace vlr::validate
