#include "libs/webpost/upload/Destination.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vlr::upload {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool Fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Percent-decoding of the user and password written into an address.
std::string Unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            int hi = HexValue(s[i + 1]), lo = HexValue(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

}  // namespace

std::optional<Destination> ParseDestination(const std::string& rawText, std::string* error) {
    std::string text = rawText;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.erase(text.begin());
    if (text.empty()) {
        Fail(error, "No destination was given.");
        return std::nullopt;
    }
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            Fail(error, "The destination may not contain a line break or other control character.");
            return std::nullopt;
        }
    }
    Destination d;
    const std::size_t sep = text.find("://");
    if (sep == std::string::npos || Lower(text.substr(0, sep)) == "file") {
        std::string folder = sep == std::string::npos ? text : text.substr(sep + 3);
        if (folder.empty()) {
            Fail(error, "No destination folder was given.");
            return std::nullopt;
        }
        std::error_code ec;
        std::filesystem::path p = std::filesystem::absolute(folder, ec);
        if (ec) {
            Fail(error, "The folder " + folder + " cannot be used: " + ec.message());
            return std::nullopt;
        }
        std::string s = p.lexically_normal().string();
        if (s.empty() || s.back() != '/')
            s += '/';
        d.location = s;
        return d;
    }
    const std::string scheme = Lower(text.substr(0, sep));
    if (scheme == "ftp")
        d.kind = DestinationKind::Ftp;
    else if (scheme == "ftps")
        d.kind = DestinationKind::Ftps;
    else if (scheme == "ftpes")
        d.kind = DestinationKind::FtpExplicitTls;
    else if (scheme == "sftp")
        d.kind = DestinationKind::Sftp;
    else {
        Fail(error, "Addresses starting with \"" + scheme + "://\" cannot be uploaded to; use ftp://, ftps://, "
                    "ftpes://, sftp:// or a folder.");
        return std::nullopt;
    }
    std::string rest = text.substr(sep + 3);
    const std::size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    std::string path = slash == std::string::npos ? "/" : rest.substr(slash);
    if (const std::size_t at = authority.rfind('@'); at != std::string::npos) {
        std::string userInfo = authority.substr(0, at);
        authority = authority.substr(at + 1);
        const std::size_t colon = userInfo.find(':');
        d.user = Unescape(userInfo.substr(0, colon));
        if (colon != std::string::npos)
            d.password = Unescape(userInfo.substr(colon + 1));
        // A decoded "%0D%0A" would end the command it is sent in.
        for (char c : d.user + d.password) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                Fail(error, "The user name or password in the address may not contain a control character.");
                return std::nullopt;
            }
        }
    }
    if (authority.empty() || authority.front() == ':') {
        Fail(error, "The address " + scheme + "://" + rest + " names no server.");
        return std::nullopt;
    }
    if (path.back() != '/')
        path += '/';
    d.location = scheme + "://" + Lower(authority) + path;
    return d;
}

std::string DestinationKey(const Destination& destination) {
    return destination.location + (destination.user.empty() ? std::string() : "\t" + destination.user);
}

}  // namespace vlr::upload
