// The links of an HTML page: the values of href and src attributes, with the
// line each stands on. Comments, scripts and style blocks are skipped.
#pragma once

#include <string>
#include <vector>

namespace vlr::validate {

struct PageLink {
    std::string target;  // the attribute value, entities &amp; decoded
    int line = 1;        // one-based line of the value in the page
};

std::vector<PageLink> ExtractLinks(const std::string& html);

enum class LinkKind { External, Internal, Ignored };
// External: http, https, ftp, ftps and "//host" addresses. Ignored: empty,
// fragments of the same page, mailto:, javascript:, data:, tel: and other
// schemes. Everything else is a file of the site.
LinkKind KindOfLink(const std::string& target);

// The file an internal link points to: relative to the page's folder, or to
// the site's root folder when it starts with "/"; the query and fragment are
// dropped and %XX escapes decoded. Folders are given with their "/".
std::string ResolveInternal(const std::string& target, const std::string& pageDir, const std::string& siteRoot);

}  // namespace vlr::validate
