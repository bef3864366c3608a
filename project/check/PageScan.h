// The rules of our own over a built page: accessibility (images without alt
// text, links and buttons without text, the page's language and title, form
// controls without a label, duplicate ids, skipped heading levels) and the
// page's local links and images, read with a tag scanner of its own (no tree
// is built). Positions are byte offsets in the page.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vlr::check {

struct Finding {
    const char* rule;    // the rule's identifier (CheckRules.h)
    std::size_t offset;  // where in the page
    std::string message;
};

struct PageLinkRef {
    std::size_t offset;  // the first character of the value
    std::string target;  // as written, "&amp;" decoded
};

struct PageScan {
    std::vector<Finding> findings;
    // Every href and src value, for the link rule.
    std::vector<PageLinkRef> links;
};

PageScan ScanPage(const std::string& html);

}  // namespace vlr::check
