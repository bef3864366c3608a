// The site link check.
#include "libs/validate/SiteLinkCheck.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vlr::validate {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The first line of a file that holds the text, or 0.
int LineHolding(const std::string& path, const std::string& text) {
    const std::string body = ReadWhole(path);
    const std::size_t at = body.find(text);
    if (at == std::string::npos)
        return 0;
    int line = 1;
    for (std::size_t k = 0; k < at; ++k)
        if (body[k] == '\n' || (body[k] == '\r' && (k + 1 >= body.size() || body[k + 1] != '\n')))
            ++line;
    return line;
}

}  // namespace

SiteLinkCheck::SiteLinkCheck(std::string outputDir, std::string sourceDir, ProbeOptions options)
    : outputDir_(std::move(outputDir)), sourceDir_(std::move(sourceDir)), prober_(options) {}

void SiteLinkCheck::start() {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(outputDir_, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string ext = Lower(it->path().extension().string());
        if ((ext == ".html" || ext == ".htm") && it->is_regular_file(ec))
            pages_.push_back(it->path().string());
    }
    std::sort(pages_.begin(), pages_.end());
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        const std::string pageDir = fs::path(pages_[p]).parent_path().string();
        for (const PageLink& link : ExtractLinks(ReadWhole(pages_[p]))) {
            switch (KindOfLink(link.target)) {
            case LinkKind::Ignored:
                break;
            case LinkKind::Internal: {
                ++total_;
                ++checked_;
                const LinkResult r = CheckLocalPath(link.target, ResolveInternal(link.target, pageDir, outputDir_));
                if (r.state != LinkResult::State::Ok)
                    report(p, link, r.error);
                break;
            }
            case LinkKind::External: {
                ++total_;
                std::string address = link.target.rfind("//", 0) == 0 ? "http:" + link.target : link.target;
                address = address.substr(0, address.find('#'));
                auto& list = external_[address];
                if (list.empty())
                    prober_.add(address);
                list.push_back({p, link});
                break;
            }
            }
        }
    }
}

bool SiteLinkCheck::step(std::chrono::milliseconds wait) {
    if (cancelled_ || prober_.idle())
        return false;
    for (const LinkResult& r : prober_.poll(wait)) {
        auto it = external_.find(r.address);
        if (it == external_.end())
            continue;
        checked_ += it->second.size();
        if (r.state != LinkResult::State::Ok) {
            const std::string reason = r.state == LinkResult::State::Broken
                                           ? (r.status > 0 ? std::to_string(r.status) : std::string("not found"))
                                           : "unreachable: " + r.error;
            for (const Occurrence& o : it->second)
                report(o.page, o.link, reason);
        }
    }
    return !prober_.idle();
}

void SiteLinkCheck::cancel() {
    cancelled_ = true;
    prober_.cancel();
}

void SiteLinkCheck::report(std::size_t page, const PageLink& link, const std::string& reason) {
    BrokenLink b{pages_[page], link.line, link.target, reason, sourceFor(pages_[page]), link.line};
    // A link that the build put in (from a variable or a snippet) is not in
    // the source: the built page is then the place to look.
    if (!b.sourcePage.empty()) {
        const int line = LineHolding(b.sourcePage, link.target);
        if (line > 0)
            b.sourceLine = line;
        else
            b.sourcePage.clear();
    }
    broken_.push_back(std::move(b));
}

// The source of a built page: the file at the same place under the source
// folder, with the page's own extension or one of the source extensions.
std::string SiteLinkCheck::sourceFor(const std::string& page) const {
    if (sourceDir_.empty())
        return {};
    std::error_code ec;
    const fs::path rel = fs::path(page).lexically_relative(outputDir_);
    if (rel.empty() || *rel.begin() == "..")
        return {};
    fs::path base = fs::path(sourceDir_) / rel;
    for (const char* ext : {"", ".hts", ".htm", ".html"}) {
        fs::path candidate = base;
        if (*ext)
            candidate.replace_extension(ext);
        if (fs::is_regular_file(candidate, ec))
            return candidate.string();
    }
    return {};
}

std::vector<BrokenLink> SiteLinkCheck::broken() const {
    std::vector<BrokenLink> sorted = broken_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const BrokenLink& a, const BrokenLink& b) {
        return a.page != b.page ? a.page < b.page : a.line < b.line;
    });
    return sorted;
}

}  // namespace vlr::validate
