// The site check's driver: build each page in memory, check it, place the findings.
#include "project/check/SiteCheck.h"

#include "libs/validate/LinkExtract.h"
#include "libs/validate/LinkProber.h"
#include "project/build/BuildGuard.h"
#include "project/build/FileIO.h"
#include "project/build/RelativeFolder.h"
#include "project/build/SiteBuild.h"
#include "project/build/SiteProject.h"
#include "project/check/PageScan.h"
#include "project/check/TidyCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <unordered_set>

namespace vlr::check {
namespace {

std::string absolute(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return build::LexicallyNormal(path);
    std::string cwd(4096, '\0');
    if (!::getcwd(cwd.data(), cwd.size()))
        return path;
    cwd.resize(cwd.find('\0'));
    return build::LexicallyNormal(cwd + "/" + path);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// A link's value that still holds a token of the build cannot be followed.
bool holdsToken(const std::string& target) {
    return target.find("<%") != std::string::npos || target.find("<&") != std::string::npos;
}

// The findings of the page's own text, before any is placed: the rules that
// are on, and the page's links (rule nullptr, the target as message).
std::vector<CheckCache::Entry> findingsOf(const std::string& html, const RuleSettings& settings) {
    std::vector<CheckCache::Entry> out;
    auto keep = [&](Finding& f) {
        if (settings.Enabled(f.rule))
            out.push_back({f.offset, f.rule, std::move(f.message)});
    };
    for (Finding& f : TidyFindings(html))
        keep(f);
    PageScan scan = ScanPage(html);
    for (Finding& f : scan.findings)
        keep(f);
    if (settings.Enabled("link-missing"))
        for (PageLinkRef& link : scan.links)
            out.push_back({link.offset, nullptr, std::move(link.target)});
    return out;
}

class Check {
public:
    explicit Check(const CheckRequest& request) : request_(request), guard_(absolute(request.projectFile)) {}

    CheckResult run() {
        const std::string projectFile = absolute(request_.projectFile);
        std::string error;
        if (!build::ReadSiteProject(projectFile, project_, error)) {
            result_.problems.push_back({"build", Severity::Error, projectFile, 0, 0, error, {}, {}});
            return std::move(result_);
        }
        result_.ran = true;
        settings_ = RuleSettings::FromSection(project_.CheckSettings);
        settingsHash_ = std::hash<std::string>{}(settings_.Key());
        // Nothing is written, so the guard needs no sources: only what lies inside.
        for (const std::string& file : project_.Files)
            site_.insert(build::OutputPathFor(project_, file, false));
        std::vector<std::string> pages;
        for (const std::string& page : request_.pages)
            pages.push_back(absolute(page));
        const bool whole = pages.empty();
        if (whole)
            pages = project_.Files;

        build::VariableTable variables(project_, request_.environment);
        build::Expander expander(project_.switches, variables, project_.SourceDir);
        expander.SetReadCheck([this](const std::string& name, const std::string& path) -> std::string {
            std::string resolved;
            if (!trusted_ && !guard_.Inside(path, &resolved)) {
                const std::string text = build::OutsideText("the include file", name, resolved);
                if (!allowed(text))
                    return text + " lies outside the project's folder";
            }
            return {};
        });
        for (const std::string& page : pages) {
            std::string resolved;
            if (whole && !trusted_ && !inside(page, &resolved)) {
                const std::string text = build::OutsideText("the source file", page, resolved);
                if (!allowed(text)) {
                    add({"build", Severity::Error, projectFile, 0, 0, text + " lies outside the project's folder",
                         page, {}});
                    continue;
                }
            }
            checkPage(page, expander);
            ++result_.pages;
        }
        std::sort(result_.problems.begin(), result_.problems.end(), [](const Problem& a, const Problem& b) {
            return std::tie(a.file, a.line, a.column, a.rule, a.message) <
                   std::tie(b.file, b.line, b.column, b.rule, b.message);
        });
        return std::move(result_);
    }

private:
    bool allowed(const std::string& outside) {
        if (trusted_)
            return true;
        if (result_.refused.empty() && request_.allowOutside && request_.allowOutside(outside)) {
            trusted_ = true;
            return true;
        }
        if (result_.refused.empty())
            result_.refused = outside;
        return false;
    }

    // Whether a page lies inside the project's folder: a file that is no
    // link does when its folder does, and folders are resolved once.
    bool inside(const std::string& page, std::string* resolved) {
        struct stat info {};
        if (::lstat(page.c_str(), &info) != 0 || S_ISLNK(info.st_mode))
            return guard_.Inside(page, resolved);
        const std::string folder = folderOf(page);
        auto known = folderInside_.find(folder);
        if (known == folderInside_.end())
            known = folderInside_.emplace(folder, guard_.Inside(folder)).first;
        return known->second || guard_.Inside(page, resolved);
    }

    void add(Problem p) {
        if (seen_.insert(p.rule + '\n' + p.file + '\n' + std::to_string(p.line) + '\n' + std::to_string(p.column) +
                         '\n' + p.message)
                .second)
            result_.problems.push_back(std::move(p));
    }

    std::string fullSourcePath(const std::string& shown) const {
        if (shown.empty() || shown.front() == '/' || project_.SourceDir.empty())
            return shown;
        return project_.SourceDir + "/" + shown;
    }

    void checkPage(const std::string& page, build::Expander& expander) {
        std::string text, error;
        if (auto it = request_.unsaved.find(page); it != request_.unsaved.end()) {
            text = it->second;
        } else if (!build::ReadWholeFile(page, text, &error, build::kMaxPageBytes)) {
            add({"build", Severity::Error, page, 0, 0, "cannot read the source file (" + error + ")", page, {}});
            return;
        }
        build::SourceMap map;
        build::Expansion built = expander.ExpandPage(page, text, {}, &map);
        for (const build::Diagnostic& d : built.diagnostics)
            add({"build", d.kind == build::Diagnostic::Kind::Error ? Severity::Error : Severity::Warning,
                 fullSourcePath(d.file), d.line, d.line > 0 ? 1 : 0, d.text, page, {}});
        if (!built.ok)
            return;

        const std::uint64_t key = std::hash<std::string>{}(built.text) * 31 + settingsHash_ + built.text.size();
        std::shared_ptr<const std::vector<CheckCache::Entry>> findings;
        if (request_.cache)
            findings = request_.cache->Find(key);
        if (!findings) {
            findings = std::make_shared<const std::vector<CheckCache::Entry>>(findingsOf(built.text, settings_));
            if (request_.cache)
                request_.cache->Store(key, findings);
        }
        const std::string output = build::OutputPathFor(project_, page, false);
        for (const CheckCache::Entry& f : *findings) {
            const char* rule = f.rule;
            std::string message = f.message;
            if (!rule) {
                if (!linkMissing(f.message, output))
                    continue;
                rule = "link-missing";
                message = "\"" + f.message + "\" is not in the built site";
            }
            Problem p;
            p.rule = rule;
            p.severity = settings_.SeverityOf(rule);
            p.message = std::move(message);
            p.page = page;
            const std::size_t at = built.text.empty() ? 0 : std::min(f.offset, built.text.size() - 1);
            if (auto loc = map.Locate(at)) {
                p.file = loc->at.file;
                p.line = loc->at.line;
                p.column = loc->at.column;
                p.includedFrom = std::move(loc->includedFrom);
            } else {
                p.file = page;
                p.line = 1;
                p.column = 1;
            }
            add(std::move(p));
        }
    }

    // True when an internal link of the page built at `output` leads to no
    // file of the built site: no page of the project and nothing on disk.
    bool linkMissing(const std::string& target, const std::string& output) {
        // Pages of one folder share their includes' links: each is looked up once.
        std::string key = folderOf(output);
        key += '\n';
        key += target;
        auto known = answers_.find(key);
        if (known == answers_.end())
            known = answers_.emplace(std::move(key), lookUpLink(target, output)).first;
        return known->second;
    }

    bool lookUpLink(const std::string& target, const std::string& output) {
        if (holdsToken(target) || validate::KindOfLink(target) != validate::LinkKind::Internal)
            return false;
        std::string path = validate::ResolveInternal(target, folderOf(output), project_.OutputDir);
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        if (site_.count(path) || site_.count(path + "/index.html"))
            return false;
        auto known = onDisk_.find(path);
        if (known == onDisk_.end())
            known = onDisk_.emplace(path, validate::CheckLocalPath(target, path).state ==
                                              validate::LinkResult::State::Ok)
                        .first;
        return !known->second;
    }

    const CheckRequest& request_;
    CheckResult result_;
    build::SiteProject project_;
    build::BuildGuard guard_;
    RuleSettings settings_;
    std::size_t settingsHash_ = 0;
    bool trusted_ = false;
    std::unordered_set<std::string> site_;
    std::unordered_map<std::string, bool> onDisk_;
    std::unordered_map<std::string, bool> answers_;
    std::unordered_map<std::string, bool> folderInside_;
    std::unordered_set<std::string> seen_;
};

}  // namespace

std::shared_ptr<const std::vector<CheckCache::Entry>> CheckCache::Find(std::uint64_t key) const {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : it->second;
}

void CheckCache::Store(std::uint64_t key, std::shared_ptr<const std::vector<Entry>> findings) {
    std::lock_guard lock(mutex_);
    entries_[key] = std::move(findings);
}

std::size_t CheckCache::Size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

CheckResult CheckSite(const CheckRequest& request) { return Check(request).run(); }

int CheckResult::Count(Severity severity) const {
    return static_cast<int>(
        std::count_if(problems.begin(), problems.end(), [&](const Problem& p) { return p.severity == severity; }));
}

}  // namespace vlr::check
