// Fetching a document over HTTP(S) for "Open From the Web": a size limit, a
// timeout, a bounded number of redirects, progress with cancel, and the
// result saved whole to a temporary file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vlr::sys {

struct FetchLimits {
    std::int64_t maxBytes = 16 * 1024 * 1024;
    long timeoutSeconds = 60;  // the whole transfer
    long connectSeconds = 15;
    long maxRedirects = 5;
};

struct FetchResult {
    bool ok = false;
    bool cancelled = false;
    long status = 0;         // the HTTP status of the last response
    std::string body;
    std::string finalUrl;    // after redirects
    std::string error;       // a sentence for the user when !ok
};

// Called with the bytes received and the expected total (0 when unknown);
// false cancels the transfer.
using FetchProgress = std::function<bool(std::int64_t received, std::int64_t total)>;

// Only http:// and https:// addresses are fetched; an address without a
// scheme gets "http://".
std::string NormaliseAddress(const std::string& address);

FetchResult FetchUrl(const std::string& address, const FetchLimits& limits, const FetchProgress& progress = {});

// Writes the body to a new file in `folder` whose extension follows the
// address (".html" when it has none); returns its path, or "" when it could
// not be written (nothing is left behind then).
std::string SaveToTempFile(const std::string& folder, const std::string& url, const std::string& body);

}  // namespace vlr::sys
