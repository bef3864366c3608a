// The link check of a whole site: every link of every built page under the
// output folder, links to files of the site checked on disk, web addresses
// through the prober (each address once, several at once). The owner drives
// it with step() from its event loop and can cancel it at any time.
#pragma once

#include "libs/validate/LinkExtract.h"
#include "libs/validate/LinkProber.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace vlr::validate {

struct BrokenLink {
    std::string page;        // the built page
    int line = 1;            // line of the link in the built page
    std::string target;      // the link as written
    std::string reason;      // "not found on disk", "404", "unreachable: ..."
    std::string sourcePage;  // the source file the page was built from, when the link is found
                             // there ("" otherwise)
    int sourceLine = 1;      // line of the link in the source file
};

class SiteLinkCheck {
public:
    // outputDir: the built site; sourceDir: the project's sources ("" when
    // unknown), searched for the file each page was built from.
    SiteLinkCheck(std::string outputDir, std::string sourceDir, ProbeOptions options = {});

    // Reads every page (".html", ".htm", letter case ignored) and checks the
    // links to files at once; web addresses are queued.
    void start();
    // Runs the web checks for at most `wait`; false once everything is done.
    bool step(std::chrono::milliseconds wait);
    void cancel();

    [[nodiscard]] bool cancelled() const { return cancelled_; }
    [[nodiscard]] std::size_t pages() const { return pages_.size(); }
    // Links checked so far and links in all.
    [[nodiscard]] std::size_t checked() const { return checked_; }
    [[nodiscard]] std::size_t total() const { return total_; }
    // Broken links in page order, then line order.
    [[nodiscard]] std::vector<BrokenLink> broken() const;

private:
    struct Occurrence {
        std::size_t page;
        PageLink link;
    };
    void report(std::size_t page, const PageLink& link, const std::string& reason);
    std::string sourceFor(const std::string& page) const;

    std::string outputDir_, sourceDir_;
    LinkProber prober_;
    std::vector<std::string> pages_;
    std::map<std::string, std::vector<Occurrence>> external_;
    std::vector<BrokenLink> broken_;
    std::size_t checked_ = 0, total_ = 0;
    bool cancelled_ = false;
};

}  // namespace vlr::validate
