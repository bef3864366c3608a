// The reading of the start's arguments and the escaping of text printed on
// a terminal, as functions.
#include "app/cli/CommandLine.h"
#include "app/cli/TerminalText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using vlr::cli::ReadStartArguments;
using vlr::cli::StartRequest;
using vlr::cli::TerminalText;
using Mode = StartRequest::Mode;

namespace {

TEST(TerminalText, ControlCharactersAndBrokenUtf8AreShownNotObeyed) {
    EXPECT_EQ(TerminalText("site/src/index.hts"), "site/src/index.hts");
    EXPECT_EQ(TerminalText("caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.hts"), "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.hts");
    EXPECT_EQ(TerminalText("a\x1b]0;owned\x07z"), "a\\x1b]0;owned\\x07z");
    EXPECT_EQ(TerminalText("line\nnext\r\tx\x7f"), "line\\nnext\\r\\tx\\x7f");
    EXPECT_EQ(TerminalText(std::string("nul\0end", 7)), "nul\\x00end");
    // C1 controls in UTF-8 (U+009B is a CSI) and bytes that are no UTF-8.
    EXPECT_EQ(TerminalText("\xc2\x9b" "2J"), "\\xc2\\x9b2J");
    EXPECT_EQ(TerminalText("\x9b\xff\xc3"), "\\x9b\\xff\\xc3");
    EXPECT_EQ(TerminalText("\xc0\xaf \xed\xa0\x80"), "\\xc0\\xaf \\xed\\xa0\\x80");  // overlong, surrogate
}

TEST(TerminalText, CommandOutputIsEscapedLineByLine) {
    std::ostringstream to;
    {
        vlr::cli::TerminalLines lines(to);
        lines << "sent red\x1b[31m.html\n" << "failed x: 550 \x07no" << std::flush;
        lines << " more\n" << "partial\x1b";
    }
    EXPECT_EQ(to.str(), "sent red\\x1b[31m.html\nfailed x: 550 \\x07no more\npartial\\x1b");
}

TEST(StartArguments, FilesAreMadeAbsoluteAgainstTheStartFolder) {
    const std::string cwd = std::filesystem::current_path().string();
    const StartRequest r = ReadStartArguments({"site/site.vlr", "site/src/../src/index.hts", "/abs/x.hts", ""});
    EXPECT_EQ(r.mode, Mode::Window);
    EXPECT_EQ(r.files, (std::vector<std::string>{cwd + "/site/site.vlr", cwd + "/site/src/index.hts", "/abs/x.hts"}));
    // After "--" a name starting with "-" is a file.
    const StartRequest dashed = ReadStartArguments({"--", "-notes.hts", "--help"});
    EXPECT_EQ(dashed.mode, Mode::Window);
    EXPECT_EQ(dashed.files, (std::vector<std::string>{cwd + "/-notes.hts", cwd + "/--help"}));
    // Qt's own options are left to Qt, with their value.
    const StartRequest qt = ReadStartArguments({"-platform", "offscreen", "a.hts"});
    EXPECT_EQ(qt.mode, Mode::Window);
    EXPECT_EQ(qt.files, (std::vector<std::string>{cwd + "/a.hts"}));
    EXPECT_TRUE(ReadStartArguments({"--quit-after-start"}).quitAfterStart);
}

TEST(StartArguments, OptionsChooseTheModeAndUnknownOnesAreMistakes) {
    EXPECT_EQ(ReadStartArguments({"--help"}).mode, Mode::Help);
    EXPECT_EQ(ReadStartArguments({"-h"}).mode, Mode::Help);
    EXPECT_EQ(ReadStartArguments({"--build", "p.vlr", "--help"}).mode, Mode::Help);
    EXPECT_EQ(ReadStartArguments({"--version"}).mode, Mode::Version);

    const StartRequest build = ReadStartArguments({"--trust", "--build", "p.vlr"});
    EXPECT_EQ(build.mode, Mode::Build);
    EXPECT_EQ(build.commandArguments, (std::vector<std::string>{"--build", "p.vlr", "--trust"}));
    const StartRequest upload = ReadStartArguments({"--dry-run", "--upload", "p.vlr", "--to", "/srv/www"});
    EXPECT_EQ(upload.mode, Mode::Upload);
    EXPECT_EQ(upload.commandArguments, (std::vector<std::string>{"--upload", "p.vlr", "--dry-run", "--to", "/srv/www"}));

    const StartRequest unknown = ReadStartArguments({"page.hts", "--frobnicate"});
    EXPECT_EQ(unknown.mode, Mode::BadUsage);
    EXPECT_EQ(unknown.error, "unknown option --frobnicate");
    EXPECT_EQ(ReadStartArguments({"--trust", "a.hts"}).error, "--trust is only used with --build or --check");
    EXPECT_EQ(ReadStartArguments({"--to", "x"}).error, "--to is only used with --upload");
    EXPECT_EQ(ReadStartArguments({"--build", "a.vlr", "--upload", "a.vlr"}).mode, Mode::BadUsage);
    EXPECT_EQ(ReadStartArguments({"-platform"}).mode, Mode::BadUsage);
}

}  // namespace
