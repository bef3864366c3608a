// What the link checker remembers of the addresses it checked, and the texts
// it shows for them: the short hint under the mouse and the status line.
#pragma once

#include "libs/validate/LinkProber.h"

#include <map>
#include <optional>
#include <string>

namespace vlr::validate {

// The address inside a token of the editor: from its first "http://",
// "https://", "ftp://", "ftps://" or "file://" (letter case ignored, the
// scheme written in lower case) to the end, without surrounding quotes,
// brackets or trailing punctuation. Empty when the token holds none.
std::string AddressIn(const std::string& token);

// The results of the checks, by address; a new check replaces the old one.
class LinkCache {
public:
    void store(const LinkResult& result);
    [[nodiscard]] std::optional<LinkResult> find(const std::string& address) const;
    void clear() { results_.clear(); }

private:
    std::map<std::string, LinkResult> results_;
};

// "OK 200, checked 12:04", "OK 200 via https://x/, checked 12:04",
// "Broken: 404, checked 12:04", "Unreachable: <reason>, checked 12:04";
// for a local file "OK, on disk, checked 12:04" or "Broken: not found on disk".
std::string HintText(const LinkResult& result);
// The status-line report after a check: "Link OK (200): <address>",
// "Broken link (404): <address>", "Link unreachable: <address> (<reason>)".
std::string StatusText(const LinkResult& result);

}  // namespace vlr::validate
