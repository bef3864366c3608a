// Checking web and FTP addresses with libcurl: a HEAD request first, a GET
// when the server refuses HEAD, redirects followed, every check bounded by a
// time limit. Several addresses run at once on the calling thread; the owner
// drives the transfers with poll() and may cancel them.
#pragma once

#include <chrono>
#include <cstddef>
#include <ctime>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace vlr::validate {

struct LinkResult {
    enum class State { Ok, Broken, Unreachable };
    State state = State::Unreachable;
    std::string address;       // as asked
    long status = 0;           // the last response code (0 when none came)
    std::string finalAddress;  // after redirects
    long redirects = 0;
    std::string error;         // why an address could not be reached
    bool local = false;        // checked on disk, not over the network
    std::time_t checkedAt = 0;
};

struct ProbeOptions {
    // The whole check of one address (HEAD and a following GET together).
    std::chrono::milliseconds timeLimit{8000};
    std::chrono::milliseconds connectLimit{4000};
    long maxRedirects = 10;
    int parallel = 6;
};

// True for the addresses the prober takes: http, https, ftp and ftps.
bool IsWebAddress(const std::string& address);

class LinkProber {
public:
    explicit LinkProber(ProbeOptions options = {});
    ~LinkProber();
    LinkProber(const LinkProber&) = delete;
    LinkProber& operator=(const LinkProber&) = delete;

    // Queues an address; it starts when fewer than `parallel` are running.
    void add(const std::string& address);
    // Runs the transfers for at most `wait` and returns the checks finished
    // meanwhile (it returns as soon as one finishes).
    std::vector<LinkResult> poll(std::chrono::milliseconds wait);
    // Nothing queued and nothing running.
    [[nodiscard]] bool idle() const;
    // Stops every transfer and forgets the queue; nothing more is reported.
    void cancel();

    // One address being checked (defined in the implementation).
    struct Transfer;

private:
    void startQueued();
    void begin(Transfer& t, bool head);
    void finish(Transfer& t, int code, std::vector<LinkResult>& out);

    ProbeOptions options_;
    void* multi_ = nullptr;
    std::deque<std::string> queue_;
    std::vector<std::unique_ptr<Transfer>> running_;
};

// Checks one address and waits for the answer (at most the time limit).
LinkResult ProbeLink(const std::string& address, const ProbeOptions& options = {});

// A local address on disk: "file://" addresses and plain paths. A folder
// counts when it holds an index page.
LinkResult CheckLocalPath(const std::string& address, const std::string& path);

}  // namespace vlr::validate
