// A project from someone else against the build: includes, files and
// folders outside the project's folder, an output folder that leads into the
// sources, files that are not files, and pages that grow without end.
#include "BuildTestSupport.h"

#include "project/build/BuildGuard.h"
#include "project/build/BuildRecord.h"
#include "project/build/FileIO.h"
#include "project/build/SiteBuild.h"
#include "project/build/TrustedProjects.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>

using namespace buildtest;
using vlr::build::BuildRequest;
using vlr::build::BuildSite;
using vlr::build::BuildSummary;

namespace {

// A project in temp/site with its sources in src and its pages in out; the
// secret lies beside the project's folder, outside it.
struct HostileSite {
    TempFolder temp;
    std::string root = temp / "site";
    std::string project = root + "/p.vlr";
    std::string secret = temp / "secret.txt";
    std::vector<std::string> asked;
    bool answer = false;

    HostileSite() { WriteFile(secret, "SECRET"); }

    void Project(const std::string& files, const std::string& out = "out", const std::string& extra = {}) {
        WriteFile(project, "[files]\n" + files + "[directories]\nsrc=src\nout=" + out + "\n" + extra);
    }
    BuildSummary Build(const std::string& file = {}, bool preview = false) {
        BuildRequest r;
        r.projectFile = project;
        r.sourceFile = file;
        r.preview = preview;
        r.environment = FixedEnvironment();
        r.allowOutside = [this](const std::string& what) {
            asked.push_back(what);
            return answer;
        };
        RecordingReporter reporter;
        return BuildSite(r, reporter);
    }
    std::string Problems(const BuildSummary& s) const {
        std::string all;
        for (const auto& d : s.problems)
            all += d.Describe() + "\n";
        return all;
    }
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(BuildGuard, IncludesOutsideTheProjectFolderAreReadOnlyWhenTheUserSaysSo) {
    HostileSite site;
    site.Project("0=src/a.hts\n1=src/b.hts\n2=src/c.hts\n");
    WriteFile(site.root + "/src/a.hts", "a <&inside.inc&>");
    WriteFile(site.root + "/src/inside.inc", "in");
    WriteFile(site.root + "/src/b.hts", "b <&" + site.secret + "&>");
    WriteFile(site.root + "/src/c.hts", "c <&../../secret.txt&>");

    BuildSummary s = site.Build();
    EXPECT_FALSE(s.ok);
    ASSERT_EQ(site.asked.size(), 1u);
    EXPECT_EQ(site.asked[0], "the include file \"" + site.secret + "\"");
    EXPECT_EQ(s.refused, site.asked[0]);
    EXPECT_TRUE(Contains(site.Problems(s),
                         "b.hts:1: the include file \"" + site.secret + "\" lies outside the project's folder"))
        << site.Problems(s);
    // The page before is built; the refused one and every page after are not.
    EXPECT_EQ(ReadFile(site.root + "/out/a.html"), "a in");
    EXPECT_FALSE(fs::exists(site.root + "/out/b.html"));
    EXPECT_FALSE(fs::exists(site.root + "/out/c.html"));
    EXPECT_EQ(s.built, 1);

    // Trusted: one question for the whole build, then everything is read.
    site.asked.clear();
    site.answer = true;
    s = site.Build();
    EXPECT_TRUE(s.ok) << site.Problems(s);
    EXPECT_EQ(site.asked.size(), 1u);
    EXPECT_TRUE(s.refused.empty());
    EXPECT_EQ(ReadFile(site.root + "/out/b.html"), "b SECRET");
    EXPECT_EQ(ReadFile(site.root + "/out/c.html"), "c SECRET");
}

TEST(BuildGuard, LinksAreFollowedBeforeTheFolderIsCompared) {
    HostileSite site;
    site.Project("0=src/a.hts\n");
    WriteFile(site.root + "/src/a.hts", "a <&key.inc&>");
    fs::create_symlink(site.secret, site.root + "/src/key.inc");
    BuildSummary s = site.Build();
    EXPECT_FALSE(s.ok);
    ASSERT_EQ(site.asked.size(), 1u);
    EXPECT_EQ(site.asked[0], "the include file \"key.inc\" (leads to " + vlr::build::ResolvedPath(site.secret) + ")");
    EXPECT_FALSE(fs::exists(site.root + "/out/a.html"));

    // A link that stays inside is as good as the file.
    fs::remove(site.root + "/src/key.inc");
    WriteFile(site.root + "/parts/key.txt", "key");
    fs::create_symlink("../parts/key.txt", site.root + "/src/key.inc");
    site.asked.clear();
    s = site.Build();
    EXPECT_TRUE(s.ok) << site.Problems(s);
    EXPECT_TRUE(site.asked.empty());
    EXPECT_EQ(ReadFile(site.root + "/out/a.html"), "a key");
}

TEST(BuildGuard, AnOutputFolderOrSourceFileOutsideStopsTheBuildBeforeAnythingIsWritten) {
    HostileSite site;
    WriteFile(site.root + "/src/a.hts", "a");
    site.Project("0=src/a.hts\n", "../elsewhere");
    BuildSummary s = site.Build();
    EXPECT_FALSE(s.ok);
    ASSERT_EQ(site.asked.size(), 1u);
    EXPECT_EQ(site.asked[0], "the output folder \"" + (site.temp / "elsewhere") + "\"");
    EXPECT_EQ(s.result, site.project + ": the output folder \"" + (site.temp / "elsewhere") +
                            "\" lies outside the project's folder");
    EXPECT_FALSE(fs::exists(site.temp / "elsewhere"));

    // A folder of the output folder that is a link out of the project.
    site.Project("0=src/a.hts\n1=src/sub/b.hts\n");
    WriteFile(site.root + "/src/sub/b.hts", "b");
    fs::create_directories(site.temp / "elsewhere");
    fs::create_directories(site.root + "/out");
    fs::create_directory_symlink(site.temp / "elsewhere", site.root + "/out/sub");
    site.asked.clear();
    s = site.Build();
    EXPECT_FALSE(s.ok);
    ASSERT_EQ(site.asked.size(), 1u);
    EXPECT_TRUE(Contains(site.asked[0], "the page \"" + site.root + "/out/sub/b.html\" (leads to ")) << site.asked[0];
    EXPECT_FALSE(fs::exists(site.temp / "elsewhere/b.html"));

    // A listed file outside: asked about before any page is written.
    fs::remove(site.root + "/out/sub");
    fs::remove_all(site.root + "/out");
    site.Project("0=src/a.hts\n1=../secret.txt\n");
    site.asked.clear();
    s = site.Build();
    EXPECT_FALSE(s.ok);
    ASSERT_EQ(site.asked.size(), 1u);
    EXPECT_EQ(site.asked[0], "the source file \"" + site.secret + "\"");
    EXPECT_FALSE(fs::exists(site.root + "/out/a.html"));
    EXPECT_FALSE(fs::exists(site.root + "/out/secret.html"));

    // A file the user builds by itself is the user's own choice.
    WriteFile(site.temp / "mine.hts", "mine");
    site.Project("0=src/a.hts\n");
    site.asked.clear();
    s = site.Build(site.temp / "mine.hts");
    EXPECT_TRUE(s.ok) << site.Problems(s);
    EXPECT_TRUE(site.asked.empty());
    EXPECT_EQ(ReadFile(site.root + "/out/mine.html"), "mine");
}

TEST(BuildGuard, AnOutputFolderLinkedToTheSourcesNeverOverwritesThem) {
    HostileSite site;
    WriteFile(site.root + "/src/index.html", "<h1><%Title%></h1>");
    WriteFile(site.root + "/src/other.hts", "other");
    fs::create_directory_symlink("src", site.root + "/public");
    site.Project("0=src/index.html\n1=src/other.hts\n", "public", "[variables]\nTitle=Expanded\n");

    BuildSummary s = site.Build();
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.failed, 1);
    EXPECT_TRUE(Contains(site.Problems(s), "is the same file as the source " + site.root + "/src/index.html"))
        << site.Problems(s);
    EXPECT_EQ(ReadFile(site.root + "/src/index.html"), "<h1><%Title%></h1>");
    // Pages that replace nothing are still written.
    EXPECT_EQ(ReadFile(site.root + "/src/other.html"), "other");
    EXPECT_TRUE(site.asked.empty());

    // An include is a source too, and so is a hard link to one.
    fs::remove(site.root + "/public");
    WriteFile(site.root + "/src/page.hts", "<&part.html&>");
    WriteFile(site.root + "/src/part.html", "part");
    fs::create_directories(site.root + "/out");
    fs::create_hard_link(site.root + "/src/part.html", site.root + "/out/part.html");
    site.Project("0=src/page.hts\n1=src/part.html\n");
    s = site.Build();
    EXPECT_EQ(ReadFile(site.root + "/src/part.html"), "part");
    EXPECT_TRUE(Contains(site.Problems(s), "is the same file as the source")) << site.Problems(s);

    // A link in the output folder is replaced, never written through.
    fs::remove(site.root + "/out/part.html");
    fs::remove(site.root + "/out/page.html");
    fs::create_symlink(site.root + "/src/page.hts", site.root + "/out/page.html");
    site.Project("0=src/page.hts\n");
    s = site.Build();
    EXPECT_TRUE(s.ok) << site.Problems(s);
    EXPECT_EQ(ReadFile(site.root + "/src/page.hts"), "<&part.html&>");
    EXPECT_FALSE(fs::is_symlink(site.root + "/out/page.html"));
    EXPECT_EQ(ReadFile(site.root + "/out/page.html"), "part");
}

TEST(BuildGuard, DevicesPipesAndSocketsAreRefusedAtOnce) {
    HostileSite site;
    WriteFile(site.root + "/src/zero.hts", "<&/dev/zero&>");
    site.Project("0=src/zero.hts\n");
    site.answer = true;  // trusted: what stops these is what they are
    const auto start = std::chrono::steady_clock::now();
    BuildSummary s = site.Build();
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(Contains(site.Problems(s), "cannot read include file \"/dev/zero\" (it is a device, not a file)"))
        << site.Problems(s);

    ASSERT_EQ(::mkfifo((site.root + "/src/pipe.inc").c_str(), 0600), 0);
    WriteFile(site.root + "/src/pipe.hts", "<&pipe.inc&>");
    site.Project("0=src/pipe.hts\n1=src/pipe.inc\n");
    s = site.Build();
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(Contains(site.Problems(s), "pipe.hts:1: cannot read include file \"pipe.inc\" (it is a named pipe"))
        << site.Problems(s);
    EXPECT_TRUE(Contains(site.Problems(s), "pipe.inc: cannot read the source file (it is a named pipe, not a file)"))
        << site.Problems(s);

    const std::string socketPath = site.root + "/src/sock.inc";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    WriteFile(site.root + "/src/sock.hts", "<&sock.inc&>");
    site.Project("0=src/sock.hts\n");
    s = site.Build();
    ::close(fd);
    EXPECT_TRUE(Contains(site.Problems(s), "(it is a socket, not a file)")) << site.Problems(s);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    // A regular file too large for a page is not read at all.
    WriteFile(site.root + "/src/big.hts", "<&big.inc&>");
    WriteFile(site.root + "/src/big.inc", "");
    fs::resize_file(site.root + "/src/big.inc", std::uintmax_t{1} << 30);  // sparse: no disk used
    site.Project("0=src/big.hts\n");
    s = site.Build();
    EXPECT_TRUE(Contains(site.Problems(s), "cannot read include file \"big.inc\" (larger than 64 MB)"))
        << site.Problems(s);
}

TEST(BuildGuard, AVariableUsedOverAndOverCannotGrowAPageBeyondTheCap) {
    HostileSite site;
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "<%Big%>";
    WriteFile(site.root + "/src/big.hts", text);
    site.Project("0=src/big.hts\n", "out", "[variables]\nBig=" + std::string(1 << 20, 'x') + "\n");
    const auto start = std::chrono::steady_clock::now();
    BuildSummary s = site.Build();
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(Contains(site.Problems(s), "big.hts:1: the page grows beyond 64 MB through its variables"))
        << site.Problems(s).substr(0, 300);
    EXPECT_FALSE(fs::exists(site.root + "/out/big.html"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(BuildGuardFiles, ResolvedPathFollowsLinksAlsoToPathsThatDoNotExistYet) {
    TempFolder temp;
    const std::string root = vlr::build::ResolvedPath(temp.path());
    fs::create_directories(temp / "a/b");
    fs::create_directory_symlink("a/b", temp / "lb");
    fs::create_symlink(temp / "nowhere/deep", temp / "dangling");
    fs::create_symlink("loop2", temp / "loop1");
    fs::create_symlink("loop1", temp / "loop2");
    using vlr::build::ResolvedPath;
    EXPECT_EQ(ResolvedPath(temp / "lb/x/../y"), root + "/a/b/y");
    EXPECT_EQ(ResolvedPath(temp / "lb/.."), root + "/a");
    EXPECT_EQ(ResolvedPath(temp / "dangling/page.html"), root + "/nowhere/deep/page.html");
    EXPECT_EQ(ResolvedPath(temp / "loop1/x"), "");
    EXPECT_EQ(ResolvedPath("/"), "/");
    EXPECT_TRUE(vlr::build::IsWithin(root, root + "/a"));
    EXPECT_TRUE(vlr::build::IsWithin(root, root));
    EXPECT_FALSE(vlr::build::IsWithin(root + "/a", root + "/ab"));
    EXPECT_TRUE(vlr::build::IsWithin("/", "/etc"));
}

TEST(BuildGuardFiles, TrustedProjectsAreKeptByTheirRealPath) {
    TempFolder temp;
    WriteFile(temp / "site/p.vlr", "");
    WriteFile(temp / "other/p.vlr", "");
    fs::create_directory_symlink("site", temp / "alias");
    const std::string store = temp / "config/trusted.dat";
    {
        vlr::build::TrustedProjects trusted(store);
        EXPECT_FALSE(trusted.Contains(temp / "site/p.vlr"));
        std::string error;
        ASSERT_TRUE(trusted.Add(temp / "site/p.vlr", &error)) << error;
    }
    vlr::build::TrustedProjects again(store);
    EXPECT_TRUE(again.Contains(temp / "site/p.vlr"));
    EXPECT_TRUE(again.Contains(temp / "alias/p.vlr"));
    EXPECT_FALSE(again.Contains(temp / "other/p.vlr"));
    // Lines the program did not write are skipped.
    WriteFile(store, "junk\n\n;" + (temp / "other/p.vlr") + "\n" + vlr::build::ResolvedPath(temp / "other/p.vlr") +
                         "\r\n");
    vlr::build::TrustedProjects edited(store);
    EXPECT_TRUE(edited.Contains(temp / "other/p.vlr"));
    EXPECT_FALSE(edited.Contains(temp / "site/p.vlr"));
}

}  // namespace

TEST(BuildGuardFiles, OneLookAtASourceServesTheGuardAndTheRecord) {
    TempFolder temp;
    WriteFile(temp / "site/p.vlr", "");
    WriteFile(temp / "site/a.hts", "a");
    WriteFile(temp / "secret.txt", "s");
    fs::create_symlink(temp / "secret.txt", temp / "site/b.hts");
    vlr::build::BuildGuard guard(temp / "site/p.vlr");

    const vlr::build::SourceLook plain = guard.AddSourceAndLook(temp / "site/a.hts");
    EXPECT_TRUE(plain.inside);
    EXPECT_EQ(plain.stamp, vlr::build::StampOf(temp / "site/a.hts"));
    EXPECT_EQ(guard.SourceAt(temp / "site/a.hts"), temp / "site/a.hts");

    // A link is followed: where it leads decides, and its target is the source.
    const vlr::build::SourceLook link = guard.AddSourceAndLook(temp / "site/b.hts");
    EXPECT_FALSE(link.inside);
    EXPECT_EQ(link.resolved, vlr::build::ResolvedPath(temp / "secret.txt"));
    EXPECT_EQ(link.stamp, vlr::build::StampOf(temp / "secret.txt"));
    EXPECT_EQ(guard.SourceAt(temp / "secret.txt"), temp / "site/b.hts");

    const vlr::build::SourceLook missing = guard.AddSourceAndLook(temp / "site/c.hts");
    EXPECT_TRUE(missing.inside);
    EXPECT_FALSE(missing.stamp.exists);
}

TEST(BuildGuardFiles, AWrittenFileGivesItsStampAndKeepsOrGetsItsMode) {
    TempFolder temp;
    const std::string page = temp / "out/new/page.html";
    vlr::build::FileStamp written;
    ASSERT_TRUE(vlr::build::WriteWholeFile(page, "first", nullptr, &written));
    EXPECT_EQ(ReadFile(page), "first");
    EXPECT_EQ(written, vlr::build::StampOf(page));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(page.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666 & ~mask);

    // A replaced file keeps its own mode and gets a new stamp; no temporary file is left.
    ASSERT_EQ(::chmod(page.c_str(), 0600), 0);
    ASSERT_TRUE(vlr::build::WriteWholeFile(page, "second, longer", nullptr, &written));
    EXPECT_EQ(written, vlr::build::StampOf(page));
    EXPECT_EQ(written.size, 14);
    ASSERT_EQ(::stat(page.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp / "out/new"), fs::directory_iterator{}), 1);
}
