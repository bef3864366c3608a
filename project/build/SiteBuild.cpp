// The site build driver: pages, progress, the build record and the result.
#include "project/build/SiteBuild.h"

#include "project/build/BuildGuard.h"
#include "project/build/BuildRecord.h"
#include "project/build/FileIO.h"
#include "project/build/RelativeFolder.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>
#include <unordered_map>

namespace vlr::build {
namespace {

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name with its extension replaced (or added, when it has none).
std::string withExtension(const std::string& name, const char* extension) {
    std::size_t dot = name.rfind('.');
    return (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + extension;
}

std::string absolute(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return LexicallyNormal(path);
    std::string cwd(4096, '\0');
    if (!::getcwd(cwd.data(), cwd.size()))
        return path;
    cwd.resize(cwd.find('\0'));
    return LexicallyNormal(cwd + "/" + path);
}

// The part of `path` below `folder`, or "" when it is not below it.
std::string below(const std::string& folder, const std::string& path) {
    if (folder.empty() || path.size() <= folder.size() + 1 || path.compare(0, folder.size(), folder) != 0 ||
        path[folder.size()] != '/')
        return {};
    return path.substr(folder.size() + 1);
}

// Collects what goes to the reporter and into the summary, each problem once.
class Outcome {
public:
    Outcome(BuildReporter& reporter, BuildSummary& summary) : reporter_(reporter), summary_(summary) {}

    void problem(const Diagnostic& d) {
        if (!seen_.insert(d.Describe()).second)
            return;
        summary_.problems.push_back(d);
        reporter_.Problem(d);
    }
    const Diagnostic* firstOf(Diagnostic::Kind kind) const {
        for (const Diagnostic& d : summary_.problems)
            if (d.kind == kind)
                return &d;
        return nullptr;
    }
    int count(Diagnostic::Kind kind) const {
        int n = 0;
        for (const Diagnostic& d : summary_.problems)
            n += d.kind == kind;
        return n;
    }

private:
    BuildReporter& reporter_;
    BuildSummary& summary_;
    std::set<std::string> seen_;
};

struct PageJob {
    std::string source;
    std::string output;
};

// A page built: its text, and whether and how it was written.
struct BuiltPage {
    // False: the page is (still) to be built the sequential way.
    bool ready = false;
    FileStamp sourceStamp;
    Expansion page;
    // The source file the page would have replaced ("" when none).
    std::string overSource;
    // Why the page could not be written ("" when it was, or was not tried).
    std::string writeError;
    FileStamp outputStamp;
};

// Pages are built on every core when there are at least this many to build.
constexpr std::size_t kParallelPages = 32;

class Build {
public:
    Build(const BuildRequest& request, BuildReporter& reporter)
        : request_(request), reporter_(reporter), outcome_(reporter, summary_),
          guard_(absolute(request.projectFile)) {}

    BuildSummary run() {
        const std::int64_t start = SteadyMilliseconds();
        std::string error;
        const std::string projectFile = absolute(request_.projectFile);
        if (!ReadSiteProject(projectFile, project_, error))
            return failEarly({Diagnostic::Kind::Error, projectFile, 0, error});
        if (project_.OutputDir.empty() && !request_.preview)
            return failEarly({Diagnostic::Kind::Error, projectFile, 0, "the project has no output directory"});

        std::vector<PageJob> jobs;
        if (request_.sourceFile.empty()) {
            for (const std::string& file : project_.Files)
                jobs.push_back({file, OutputPathFor(project_, file, false)});
        } else {
            const std::string file = absolute(request_.sourceFile);
            jobs.push_back({file, OutputPathFor(project_, file, request_.preview)});
        }
        const bool incremental = request_.sourceFile.empty();
        const bool recorded = !request_.preview;
        const std::string recordPath = project_.OutputDir + "/" + kBuildRecordName;

        // The project file and the files it lists are never written over. Where
        // the project writes and which of its files it reads are known now:
        // anything of them outside its folder is settled before any file is
        // read or written.
        // One look at each source serves the guard and, as the stamp it
        // had before it was read, the build record.
        guard_.AddSource(projectFile);
        std::vector<SourceLook> looks;
        looks.reserve(jobs.size());
        for (const PageJob& job : jobs) {
            looks.push_back(guard_.AddSourceAndLook(job.source));
            stamps_.emplace(job.source, looks.back().stamp);
        }
        const Diagnostic atProject{Diagnostic::Kind::Error, projectFile, 0, {}};
        if (!request_.preview && !mayReach("the output folder", project_.OutputDir, project_.OutputDir, atProject))
            return failEarly(summary_.problems.back());
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            // A file the user builds by itself is the user's choice, not the project's.
            const PageJob& job = jobs[i];
            const bool listed = incremental || std::find(project_.Files.begin(), project_.Files.end(),
                                                         job.source) != project_.Files.end();
            if (listed && !mayGo("the source file", job.source, looks[i].inside, looks[i].resolved, atProject))
                return failEarly(summary_.problems.back());
        }
        const FileIdentity outputFolder = IdentityOf(project_.OutputDir);
        sameFolders_ = outputFolder.exists && outputFolder == IdentityOf(project_.SourceDir);
        resolvedOutput_ = ResolvedPath(project_.OutputDir);

        if (recorded) {
            record_.Load(recordPath);
            record_.UseProjectStamp(StampOf(projectFile));
        }

        VariableTable variables(project_, request_.environment);
        Expander expander(project_.switches, variables, project_.SourceDir);
        expander.SetReadCheck([this](const std::string& name, const std::string& path) -> std::string {
            std::string resolved;
            if (!trusted_ && !guard_.Inside(path, &resolved)) {
                const std::string text = OutsideText("the include file", name, resolved);
                if (!allowed(text))
                    return text + " lies outside the project's folder";
            }
            guard_.AddSource(path);
            return {};
        });
        // The include folders of every page's folder, worked out once for all its pages.
        for (const PageJob& job : jobs) {
            const std::string folder = folderOf(job.source);
            if (!extraFolders_.count(folder))
                extraFolders_.emplace(folder, extraFoldersOf(folder));
        }

        reporter_.FileCount(static_cast<int>(jobs.size()));
        std::vector<char> upToDate(jobs.size(), 0);
        for (std::size_t i = 0; i < jobs.size(); ++i)
            upToDate[i] = incremental && record_.UpToDate(jobs[i].output, jobs[i].source, stamps_);
        std::vector<BuiltPage> ahead = buildAhead(jobs, upToDate, variables);
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const PageJob& job = jobs[i];
            // A refusal ends the build: what it would still do is what the user said no to.
            if (!summary_.refused.empty())
                break;
            if (upToDate[i]) {
                ++summary_.upToDate;
                reporter_.StatusText(shown(job.output) + " is up to date");
            } else if (i < ahead.size() && ahead[i].ready) {
                finishPage(job, expander.DisplayName(job.source), ahead[i], recorded);
            } else {
                buildPage(job, expander, recorded);
            }
            reporter_.FileDone();
        }
        if (recorded && incremental) {
            // Pages of files no longer in the project are forgotten.
            std::set<std::string> current;
            for (const PageJob& job : jobs)
                current.insert(job.output);
            record_.Retain([&](const std::string& output) { return current.count(output) > 0; });
        }
        if (recorded && record_.Changed()) {
            if (const std::string source = guard_.SourceAt(recordPath); !source.empty())
                outcome_.problem({Diagnostic::Kind::Warning, shown(recordPath), 0,
                                  "the build record was not written: it would replace the source file " + source});
            else if (!record_.Save(recordPath, &error))
                outcome_.problem({Diagnostic::Kind::Warning, shown(recordPath), 0,
                                  "the build record could not be written (" + error +
                                      "); the next build builds every page"});
        }

        summary_.milliseconds = SteadyMilliseconds() - start;
        summary_.ok = summary_.failed == 0 && summary_.refused.empty();
        summary_.result = resultText();
        reporter_.StatusText(summary_.result);
        reporter_.Finished();
        return summary_;
    }

private:
    BuildSummary failEarly(Diagnostic problem) {
        outcome_.problem(problem);
        reporter_.FileCount(0);
        summary_.ok = false;
        summary_.result = problem.Describe();
        reporter_.StatusText(summary_.result);
        reporter_.Finished();
        return summary_;
    }

    // Output paths are shown below the output folder, sources below the source folder.
    std::string shown(const std::string& path) const {
        std::string rel = below(project_.OutputDir, path);
        if (rel.empty())
            rel = below(project_.SourceDir, path);
        return rel.empty() ? path : rel;
    }

    void fail(const PageJob& job, Diagnostic d) {
        ++summary_.failed;
        outcome_.problem(d);
        record_.Forget(job.output);
        reporter_.StatusText(d.Describe());
    }

    // True when the build may go on to `path`: it lies inside the project's
    // folder, or the build was allowed outside. Otherwise the problem is
    // reported at `where`, which gets the text.
    bool mayReach(const char* what, const std::string& shownPath, const std::string& path, Diagnostic where) {
        std::string resolved;
        const bool inside = trusted_ || guard_.Inside(path, &resolved);
        return mayGo(what, shownPath, inside, resolved, std::move(where));
    }

    // mayReach for a path already resolved: `inside` tells whether it is.
    bool mayGo(const char* what, const std::string& shownPath, bool inside, const std::string& resolved,
               Diagnostic where) {
        if (trusted_ || inside)
            return true;
        const std::string text = OutsideText(what, shownPath, resolved);
        if (allowed(text))
            return true;
        where.text = text + " lies outside the project's folder";
        outcome_.problem(where);
        return false;
    }

    // Asks once whether the build may go outside the project's folder.
    bool allowed(const std::string& outside) {
        if (trusted_)
            return true;
        if (summary_.refused.empty() && request_.allowOutside && request_.allowOutside(outside)) {
            trusted_ = true;
            return true;
        }
        if (summary_.refused.empty())
            summary_.refused = outside;
        return false;
    }

    // The folders searched for includes after the page's own (see buildPage).
    const std::vector<std::string>& extraFolders(const PageJob& job) const {
        return extraFolders_.at(folderOf(job.source));
    }

    std::vector<std::string> extraFoldersOf(const std::string& folder) const {
        // A preview source written into the output folder finds its includes
        // in the matching folder of the source directory. The folders are
        // compared as the files they are, whatever links name them.
        std::vector<std::string> extra;
        if (!project_.SourceDir.empty() && !sameFolders_) {
            if (IdentityOf(folder) == IdentityOf(project_.OutputDir))
                extra.push_back(project_.SourceDir);
            else if (std::string sub = below(resolvedOutput_, ResolvedPath(folder)); !sub.empty())
                extra.push_back(project_.SourceDir + "/" + sub);
        }
        return extra;
    }

    // Builds and writes, on every core, the pages that need no question and
    // no message on the way: their results wait, in project order, for the
    // loop that reports them. A page that reads or writes outside the
    // project's folder (when the project is not trusted yet), or that
    // cannot be read, is left to the loop, which asks and reports as
    // always; so is every page after it, whose writing the answer may stop.
    // Pages are written only after every page is built, and never over a
    // file any page read. Empty when there are too few pages to share out.
    std::vector<BuiltPage> buildAhead(const std::vector<PageJob>& jobs, const std::vector<char>& upToDate,
                                      const VariableTable& variables) {
        std::vector<std::size_t> pending;
        for (std::size_t i = 0; i < jobs.size(); ++i)
            if (!upToDate[i])
                pending.push_back(i);
        const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
        if (pending.size() < kParallelPages || cores < 2)
            return {};
        const std::size_t workers = std::min(cores, pending.size() / (kParallelPages / 2));
        std::vector<BuiltPage> built(jobs.size());
        std::vector<std::vector<std::string>> read(workers);
        const bool trusted = trusted_;
        // Runs work(worker, job index) for every page of `pages` on every core.
        auto onEveryCore = [&](const std::vector<std::size_t>& pages, auto&& work) {
            std::atomic<std::size_t> next{0};
            std::vector<std::thread> threads;
            for (std::size_t w = 1; w < workers; ++w)
                threads.emplace_back([&, w] {
                    for (std::size_t k; (k = next++) < pages.size();)
                        work(w, pages[k]);
                });
            for (std::size_t k; (k = next++) < pages.size();)
                work(0, pages[k]);
            for (std::thread& t : threads)
                t.join();
        };
        std::vector<std::unique_ptr<Expander>> expanders;
        for (std::size_t w = 0; w < workers; ++w)
            expanders.push_back(std::make_unique<Expander>(project_.switches, variables, project_.SourceDir));
        auto build = [&](std::size_t w, std::size_t i) {
            const PageJob& job = jobs[i];
            BuiltPage& b = built[i];
            if (job.output == job.source)
                return;
            if (!request_.preview && !trusted && !guard_.FolderInside(folderOf(job.output)))
                return;
            b.sourceStamp = sourceStamp(job.source);
            std::string text;
            if (!ReadWholeFile(job.source, text, nullptr, kMaxPageBytes))
                return;
            bool outside = false;
            expanders[w]->SetReadCheck([&](const std::string&, const std::string& path) -> std::string {
                if (!trusted && !guard_.Inside(path)) {
                    outside = true;
                    return "outside";
                }
                read[w].push_back(path);
                return {};
            });
            b.page = expanders[w]->ExpandPage(job.source, text, extraFolders(job));
            b.ready = !outside;
        };
        auto write = [&](std::size_t, std::size_t i) {
            BuiltPage& b = built[i];
            if (b.page.ok)
                writePage(jobs[i], b);
            // Only the outcome is kept: the text is in the page now.
            std::string().swap(b.page.text);
        };

        // A share of the pages at a time, so that only that many texts are held.
        constexpr std::size_t kShare = 256;
        for (std::size_t from = 0; from < pending.size(); from += kShare) {
            std::vector<std::size_t> share(pending.begin() + std::ptrdiff_t(from),
                                           pending.begin() + std::ptrdiff_t(std::min(pending.size(), from + kShare)));
            onEveryCore(share, build);
            // Every file read is a source, before any page of the share is written.
            for (auto& paths : read) {
                for (const std::string& path : paths)
                    guard_.AddSource(path);
                paths.clear();
            }
            std::size_t stop = 0;
            while (stop < share.size() && built[share[stop]].ready)
                ++stop;
            const bool stopped = stop < share.size();
            share.resize(stop);
            onEveryCore(share, write);
            if (stopped) {
                for (std::size_t k = from + stop; k < pending.size(); ++k)
                    built[pending[k]] = BuiltPage{};
                break;
            }
        }
        return built;
    }

    // Writes a built page unless it would replace a source.
    void writePage(const PageJob& job, BuiltPage& b) const {
        b.overSource = guard_.SourceAt(job.output);
        if (!b.overSource.empty())
            return;
        std::string error;
        if (!WriteWholeFile(job.output, b.page.text, &error, &b.outputStamp))
            b.writeError = error.empty() ? std::string("unknown error") : error;
    }

    // A source's stamp, taken before it is read: the one the record was
    // checked against, when it was.
    FileStamp sourceStamp(const std::string& source) const {
        auto it = stamps_.find(source);
        return it != stamps_.end() ? it->second : StampOf(source);
    }

    // A file's stamp, looked at once per build: an include is read once
    // per build too.
    const FileStamp& stampOnce(const std::string& path) {
        auto it = stamps_.find(path);
        if (it == stamps_.end())
            it = stamps_.emplace(path, StampOf(path)).first;
        return it->second;
    }

    void buildPage(const PageJob& job, Expander& expander, bool recorded) {
        const std::string sourceShown = expander.DisplayName(job.source);
        if (job.output == job.source)
            return fail(job, {Diagnostic::Kind::Error, sourceShown, 0, "the page would replace its own source file"});
        // A folder of the output folder may be a link that leads elsewhere.
        if (!request_.preview) {
            std::string folder;
            if (!trusted_ && !guard_.FolderInside(folderOf(job.output), &folder)) {
                const std::string text = OutsideText("the page", job.output, folder + "/" + nameOf(job.output));
                if (!allowed(text))
                    return fail(job, {Diagnostic::Kind::Error, sourceShown, 0,
                                      text + " lies outside the project's folder"});
            }
        }
        BuiltPage b;
        b.sourceStamp = sourceStamp(job.source);
        std::string text, error;
        if (!ReadWholeFile(job.source, text, &error, kMaxPageBytes))
            return fail(job, {Diagnostic::Kind::Error, sourceShown, 0, "cannot read the source file (" + error + ")"});
        b.page = expander.ExpandPage(job.source, text, extraFolders(job));
        if (b.page.ok)
            writePage(job, b);
        finishPage(job, sourceShown, b, recorded);
    }

    // Reports a built page, in project order, and records it.
    void finishPage(const PageJob& job, const std::string& sourceShown, const BuiltPage& b, bool recorded) {
        const Expansion& page = b.page;
        const Diagnostic* firstProblem = nullptr;
        for (const Diagnostic& d : page.diagnostics) {
            outcome_.problem(d);
            if (!firstProblem)
                firstProblem = &d;
        }
        if (!page.ok) {
            const Diagnostic* error = nullptr;
            for (const Diagnostic& d : page.diagnostics)
                if (d.kind == Diagnostic::Kind::Error)
                    error = &d;
            ++summary_.failed;
            record_.Forget(job.output);
            reporter_.StatusText(error ? error->Describe() : sourceShown + ": not built");
            return;
        }
        if (!b.overSource.empty())
            return fail(job, {Diagnostic::Kind::Error, sourceShown, 0,
                              "the page " + job.output + " is the same file as the source " + b.overSource +
                                  ": a page is never written over a source"});
        if (!b.writeError.empty())
            return fail(job, {Diagnostic::Kind::Error, sourceShown, 0, "cannot write the page (" + b.writeError + ")"});
        ++summary_.built;
        if (recorded) {
            PageRecord rec;
            rec.source = job.source;
            rec.sourceStamp = b.sourceStamp;
            rec.outputStamp = b.outputStamp;
            for (const std::string& dep : page.dependencies)
                rec.dependencies.emplace_back(dep, stampOnce(dep));
            record_.Set(job.output, std::move(rec));
        }
        reporter_.StatusText(firstProblem ? firstProblem->Describe() : "Built " + shown(job.output));
    }

    std::string resultText() const {
        if (summary_.failed > 0) {
            const Diagnostic* error = outcome_.firstOf(Diagnostic::Kind::Error);
            return error ? error->Describe() : std::string("The build failed");
        }
        std::string text;
        if (summary_.built == 0) {
            text = "0 pages built, " + std::to_string(summary_.upToDate) + " up to date";
        } else {
            text = "Built " + std::to_string(summary_.built) + (summary_.built == 1 ? " page in " : " pages in ") +
                   std::to_string(summary_.milliseconds) + " ms";
            if (summary_.upToDate > 0)
                text += ", " + std::to_string(summary_.upToDate) + " up to date";
        }
        const int warnings = outcome_.count(Diagnostic::Kind::Warning);
        if (warnings > 0)
            text += "; " + std::to_string(warnings) + (warnings == 1 ? " warning: " : " warnings, the first: ") +
                    outcome_.firstOf(Diagnostic::Kind::Warning)->Describe();
        return text;
    }

    const BuildRequest& request_;
    BuildReporter& reporter_;
    BuildSummary summary_;
    Outcome outcome_;
    SiteProject project_;
    BuildRecord record_;
    BuildGuard guard_;
    bool trusted_ = false;
    bool sameFolders_ = false;
    std::string resolvedOutput_;
    // Stamps of sources and includes, looked at once per build. Only the
    // build's own thread adds to it, never while pages build on every core.
    std::unordered_map<std::string, FileStamp> stamps_;
    std::unordered_map<std::string, std::vector<std::string>> extraFolders_;
};

}  // namespace

std::string OutputPathFor(const SiteProject& project, const std::string& source, bool preview) {
    const std::string folder = folderOf(source);
    const std::string name = nameOf(source);
    if (preview)
        return folder + "/" + withExtension(name, ".htm");
    const std::string sub = RelativeFolder(project.SourceDir, folder);
    return project.OutputDir + "/" + (sub.empty() ? std::string() : sub + "/") + withExtension(name, ".html");
}

BuildSummary BuildSite(const BuildRequest& request, BuildReporter& reporter) {
    return Build(request, reporter).run();
}

}  // namespace vlr::build
