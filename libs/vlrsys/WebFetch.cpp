#include "libs/vlrsys/WebFetch.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unistd.h>

namespace vlr::sys {

namespace {

struct Transfer {
    std::string body;
    std::int64_t maxBytes = 0;
    bool tooLarge = false;
    bool cancelled = false;
    const FetchProgress* progress = nullptr;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (std::int64_t(t->body.size() + n) > t->maxBytes) {
        t->tooLarge = true;
        return 0;  // stops the transfer
    }
    t->body.append(data, n);
    return n;
}

int OnProgress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (total > t->maxBytes) {
        t->tooLarge = true;
        return 1;
    }
    if (t->progress && *t->progress && !(*t->progress)(now, total)) {
        t->cancelled = true;
        return 1;
    }
    return 0;
}

void InitOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string Megabytes(std::int64_t bytes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f MB", double(bytes) / (1024.0 * 1024.0));
    return buf;
}

}  // namespace

std::string NormaliseAddress(const std::string& address) {
    std::string a = address;
    a.erase(0, a.find_first_not_of(" \t\r\n"));
    a.erase(a.find_last_not_of(" \t\r\n") + 1);
    if (a.empty())
        return a;
    std::string lower = a;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0)
        return a;
    if (lower.find("://") != std::string::npos)
        return {};  // ftp://, file:// and the like are not fetched
    return "http://" + a;
}

FetchResult FetchUrl(const std::string& address, const FetchLimits& limits, const FetchProgress& progress) {
    FetchResult r;
    const std::string url = NormaliseAddress(address);
    if (url.empty()) {
        r.error = "\"" + address + "\" is not a web address (http:// or https://).";
        return r;
    }
    InitOnce();
    CURL* curl = curl_easy_init();
    if (!curl) {
        r.error = "The download could not be started.";
        return r;
    }
    Transfer t;
    t.maxBytes = limits.maxBytes;
    t.progress = &progress;
    char errbuf[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Velora");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errbuf);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &r.status);
    char* effective = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
        r.finalUrl = effective;
    curl_easy_cleanup(curl);

    if (t.cancelled) {
        r.cancelled = true;
        r.error = "The download was cancelled.";
    } else if (t.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        r.error = "The document at " + url + " is larger than " + Megabytes(limits.maxBytes) + ".";
    } else if (code == CURLE_OPERATION_TIMEDOUT) {
        r.error = "The server at " + url + " did not answer in time.";
    } else if (code == CURLE_TOO_MANY_REDIRECTS) {
        r.error = "The address " + url + " redirects too often.";
    } else if (code != CURLE_OK) {
        r.error = "The document at " + url + " could not be fetched: " +
                  (errbuf[0] ? std::string(errbuf) : std::string(curl_easy_strerror(code))) + ".";
    } else if (r.status >= 400) {
        r.error = "The server answered " + std::to_string(r.status) + " for " + url + ".";
    } else {
        r.ok = true;
        r.body = std::move(t.body);
    }
    return r;
}

std::string SaveToTempFile(const std::string& folder, const std::string& url, const std::string& body) {
    // The extension of the address's last path part, when it is a plain one.
    std::string path = url;
    const std::size_t cut = path.find_first_of("?#");
    if (cut != std::string::npos)
        path.resize(cut);
    const std::size_t scheme = path.find("://");
    const std::size_t slash = path.rfind('/');
    std::string ext = ".html";
    if (slash != std::string::npos && (scheme == std::string::npos || slash > scheme + 2)) {
        const std::string last = path.substr(slash + 1);
        const std::size_t dot = last.rfind('.');
        if (dot != std::string::npos && last.size() - dot <= 6 && last.size() - dot >= 2 &&
            std::all_of(last.begin() + long(dot) + 1, last.end(), [](unsigned char c) { return std::isalnum(c); }))
            ext = last.substr(dot);
    }
    std::string name = folder;
    if (!name.empty() && name.back() != '/')
        name += '/';
    name += "web-XXXXXX" + ext;
    const int fd = ::mkstemps(name.data(), int(ext.size()));
    if (fd < 0)
        return {};
    std::size_t done = 0;
    while (done < body.size()) {
        const ssize_t n = ::write(fd, body.data() + done, body.size() - done);
        if (n <= 0) {
            ::close(fd);
            ::unlink(name.c_str());
            return {};
        }
        done += std::size_t(n);
    }
    if (::close(fd) != 0) {
        ::unlink(name.c_str());
        return {};
    }
    return name;
}

}  // namespace vlr::sys
