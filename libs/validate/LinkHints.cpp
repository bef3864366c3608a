// Link results: the cache and the texts shown for them.
#include "libs/validate/LinkHints.h"

#include <algorithm>
#include <cctype>

namespace vlr::validate {

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Clock(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char text[8];
    std::strftime(text, sizeof text, "%H:%M", &local);
    return text;
}

std::string Checked(const LinkResult& r) { return ", checked " + Clock(r.checkedAt); }

}  // namespace

std::string AddressIn(const std::string& token) {
    const std::string lower = Lower(token);
    std::size_t best = std::string::npos;
    std::size_t schemeLength = 0;
    for (const char* scheme : {"https://", "http://", "ftps://", "ftp://", "file://"}) {
        const std::size_t at = lower.find(scheme);
        if (at != std::string::npos && (best == std::string::npos || at < best)) {
            best = at;
            schemeLength = std::char_traits<char>::length(scheme);
        }
    }
    if (best == std::string::npos)
        return {};
    std::string address = lower.substr(best, schemeLength) + token.substr(best + schemeLength);
    // An address ends at a blank, a quote or an angle bracket.
    const std::size_t end = address.find_first_of(" \t\r\n\"'<>");
    if (end != std::string::npos)
        address.resize(end);
    while (address.size() > schemeLength && std::string(".,;:)]}").find(address.back()) != std::string::npos)
        address.pop_back();
    return address.size() > schemeLength ? address : std::string();
}

void LinkCache::store(const LinkResult& result) { results_[result.address] = result; }

std::optional<LinkResult> LinkCache::find(const std::string& address) const {
    auto it = results_.find(address);
    if (it == results_.end())
        return std::nullopt;
    return it->second;
}

std::string HintText(const LinkResult& r) {
    using State = LinkResult::State;
    if (r.local)
        return r.state == State::Ok ? "OK, on disk" + Checked(r) : "Broken: not found on disk" + Checked(r);
    switch (r.state) {
    case State::Ok: {
        std::string text = "OK " + std::to_string(r.status);
        if (r.redirects > 0 && !r.finalAddress.empty())
            text += " via " + r.finalAddress;
        return text + Checked(r);
    }
    case State::Broken:
        return (r.status > 0 ? "Broken: " + std::to_string(r.status) : std::string("Broken: not found")) +
               Checked(r);
    case State::Unreachable:
        break;
    }
    return "Unreachable: " + r.error + Checked(r);
}

std::string StatusText(const LinkResult& r) {
    using State = LinkResult::State;
    const std::string code = r.status > 0 ? " (" + std::to_string(r.status) + ")" : std::string();
    switch (r.state) {
    case State::Ok: {
        std::string text = "Link OK" + code + ": " + r.address;
        if (r.redirects > 0 && !r.finalAddress.empty())
            text += " -> " + r.finalAddress;
        return text;
    }
    case State::Broken:
        return "Broken link" + code + ": " + r.address;
    case State::Unreachable:
        break;
    }
    return "Link unreachable: " + r.address + " (" + r.error + ")";
}

}  // namespace vlr::validate
