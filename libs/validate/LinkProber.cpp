// Link checks over libcurl's multi interface.
#include "libs/validate/LinkProber.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <mutex>

namespace vlr::validate {

namespace {

using Clock = std::chrono::steady_clock;

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    const std::size_t n = std::char_traits<char>::length(prefix);
    if (s.size() < n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i])
            return false;
    return true;
}

// A GET only has to show that the page is there: the body is cut short.
constexpr std::size_t kBodyLimit = 16 * 1024;

}  // namespace

bool IsWebAddress(const std::string& address) {
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://") ||
           StartsWithNoCase(address, "ftp://") || StartsWithNoCase(address, "ftps://");
}

struct LinkProber::Transfer {
    std::string address;
    CURL* easy = nullptr;
    Clock::time_point deadline;
    bool head = true;
    std::size_t bodyBytes = 0;
    bool cutShort = false;
    char error[CURL_ERROR_SIZE] = {0};

    ~Transfer() {
        if (easy)
            curl_easy_cleanup(easy);
    }
};

namespace {

std::size_t TakeBody(char*, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<LinkProber::Transfer*>(user);
    t->bodyBytes += size * count;
    if (t->bodyBytes > kBodyLimit) {
        t->cutShort = true;
        return 0;  // ends the transfer with a write error, which is expected
    }
    return size * count;
}

}  // namespace

LinkProber::LinkProber(ProbeOptions options) : options_(options) {
    GlobalInit();
    multi_ = curl_multi_init();
}

LinkProber::~LinkProber() {
    cancel();
    curl_multi_cleanup(static_cast<CURLM*>(multi_));
}

void LinkProber::add(const std::string& address) {
    queue_.push_back(address);
    startQueued();
}

bool LinkProber::idle() const { return queue_.empty() && running_.empty(); }

void LinkProber::cancel() {
    for (auto& t : running_)
        curl_multi_remove_handle(static_cast<CURLM*>(multi_), t->easy);
    running_.clear();
    queue_.clear();
}

void LinkProber::startQueued() {
    while (!queue_.empty() && int(running_.size()) < std::max(1, options_.parallel)) {
        auto t = std::make_unique<Transfer>();
        t->address = queue_.front();
        queue_.pop_front();
        t->deadline = Clock::now() + options_.timeLimit;
        t->easy = curl_easy_init();
        begin(*t, true);
        running_.push_back(std::move(t));
    }
}

void LinkProber::begin(Transfer& t, bool head) {
    CURL* e = t.easy;
    curl_easy_reset(e);
    t.head = head;
    t.bodyBytes = 0;
    t.cutShort = false;
    t.error[0] = 0;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t.deadline - Clock::now());
    curl_easy_setopt(e, CURLOPT_URL, t.address.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, &t);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, t.error);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // Only network addresses: a redirect cannot lead to a local file.
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https,ftp,ftps");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp,ftps");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, options_.maxRedirects);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, long(std::max<long long>(1, left.count())));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(options_.connectLimit.count()));
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Velora link check");
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    if (head)
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    else
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    curl_multi_add_handle(static_cast<CURLM*>(multi_), e);
}

void LinkProber::finish(Transfer& t, int codeValue, std::vector<LinkResult>& out) {
    const auto code = static_cast<CURLcode>(codeValue);
    long status = 0;
    curl_easy_getinfo(t.easy, CURLINFO_RESPONSE_CODE, &status);
    const bool http = StartsWithNoCase(t.address, "http");
    const bool answered = code == CURLE_OK || (code == CURLE_WRITE_ERROR && t.cutShort);
    // A server that refuses HEAD (an error status, or no proper answer at
    // all) is asked again with GET, within what is left of the time limit.
    const bool retry = t.head && http && Clock::now() < t.deadline &&
                       ((answered && status >= 400) || code == CURLE_GOT_NOTHING || code == CURLE_RECV_ERROR ||
                        code == CURLE_PARTIAL_FILE || code == CURLE_WEIRD_SERVER_REPLY);
    curl_multi_remove_handle(static_cast<CURLM*>(multi_), t.easy);
    if (retry) {
        begin(t, false);
        return;
    }
    LinkResult r;
    r.address = t.address;
    r.status = status;
    r.checkedAt = std::time(nullptr);
    char* final = nullptr;
    if (curl_easy_getinfo(t.easy, CURLINFO_EFFECTIVE_URL, &final) == CURLE_OK && final)
        r.finalAddress = final;
    curl_easy_getinfo(t.easy, CURLINFO_REDIRECT_COUNT, &r.redirects);
    if (answered) {
        r.state = (status >= 400 || (status == 0 && http)) ? LinkResult::State::Broken : LinkResult::State::Ok;
    } else if (code == CURLE_REMOTE_FILE_NOT_FOUND) {
        r.state = LinkResult::State::Broken;
    } else {
        r.state = LinkResult::State::Unreachable;
        r.error = t.error[0] ? std::string(t.error) : std::string(curl_easy_strerror(code));
    }
    out.push_back(std::move(r));
    running_.erase(std::find_if(running_.begin(), running_.end(), [&](const auto& p) { return p.get() == &t; }));
}

std::vector<LinkResult> LinkProber::poll(std::chrono::milliseconds wait) {
    std::vector<LinkResult> out;
    auto* m = static_cast<CURLM*>(multi_);
    const auto until = Clock::now() + wait;
    while (!running_.empty()) {
        int still = 0;
        curl_multi_perform(m, &still);
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(m, &left)) {
            if (msg->msg != CURLMSG_DONE)
                continue;
            Transfer* t = nullptr;
            curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &t);
            finish(*t, msg->data.result, out);
        }
        startQueued();
        const auto now = Clock::now();
        if (!out.empty() || now >= until)
            break;
        const auto slice = std::chrono::duration_cast<std::chrono::milliseconds>(until - now);
        curl_multi_poll(m, nullptr, 0, int(std::min<long long>(slice.count(), 100)), nullptr);
    }
    return out;
}

LinkResult ProbeLink(const std::string& address, const ProbeOptions& options) {
    LinkProber prober(options);
    prober.add(address);
    for (;;) {
        std::vector<LinkResult> r = prober.poll(std::chrono::milliseconds(200));
        if (!r.empty())
            return r.front();
    }
}

LinkResult CheckLocalPath(const std::string& address, const std::string& path) {
    namespace fs = std::filesystem;
    LinkResult r;
    r.address = address;
    r.finalAddress = path;
    r.local = true;
    r.checkedAt = std::time(nullptr);
    std::error_code ec;
    bool found = fs::is_regular_file(path, ec);
    if (!found && fs::is_directory(path, ec))
        found = fs::is_regular_file(fs::path(path) / "index.html", ec) ||
                fs::is_regular_file(fs::path(path) / "index.htm", ec);
    r.state = found ? LinkResult::State::Ok : LinkResult::State::Broken;
    if (!found)
        r.error = "not found on disk";
    return r;
}

}  // namespace vlr::validate
