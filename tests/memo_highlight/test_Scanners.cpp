// Tests of the built-in scanners: what each accepts, what it gives back and what it refuses.
#include <gtest/gtest.h>

#include <string>

#include "memo/engine/TextStore.h"
#include "memo/engine/scheme/SchemeTables.h"
#include "memo/engine/scheme/StdScanners.h"

using velora::memo::EdStream;
using velora::memo::Pos;
using velora::memo::TextStore;

namespace {

// Characters scanner n accepts at `at` in `text` (the token began at `tokenStart`), or -1.
int Scanned(int n, const std::string& text, Pos at = 0, Pos tokenStart = -1) {
  TextStore st;
  st.setText(text);
  EdStream s(st, at);
  if (!vlr::RunStdScanner(std::uint8_t(n), s, tokenStart < 0 ? at : tokenStart)) return -1;
  return int(s.position() - at);
}

TEST(StdScanners, StringCharUrlRunRestOfLine) {
  EXPECT_EQ(Scanned(0, "ab"), 1);
  EXPECT_EQ(Scanned(0, "\"\"x"), 2);  // a doubled quote is one string character
  EXPECT_EQ(Scanned(0, "\"x"), -1);
  EXPECT_EQ(Scanned(0, "\rx"), -1);
  EXPECT_EQ(Scanned(0, ""), -1);

  EXPECT_EQ(Scanned(1, "http://a.b/c?d=1&e=f#g~h. x"), 24);  // the final "." is given back
  EXPECT_EQ(Scanned(1, ". x"), -1);
  EXPECT_EQ(Scanned(1, " x"), -1);

  EXPECT_EQ(Scanned(2, "rest of\rnext"), 7);
  EXPECT_EQ(Scanned(2, "ab\rrest", 4, 3), 3);   // the token began at the start of line 2
  EXPECT_EQ(Scanned(2, "ab rest", 4, 3), -1);   // not at the start of a line
}

TEST(StdScanners, IdentifiersAndNumbers) {
  EXPECT_EQ(Scanned(10, "_a1b+"), 4);
  EXPECT_EQ(Scanned(10, "1ab"), -1);
  EXPECT_EQ(Scanned(11, "12.5e-3;"), 7);
  EXPECT_EQ(Scanned(11, "12."), 2);    // "." without a digit is given back
  EXPECT_EQ(Scanned(11, "7e+"), 1);    // an exponent without digits is not taken
  EXPECT_EQ(Scanned(11, "x1"), -1);
  EXPECT_EQ(Scanned(15, "-4.5"), 4);
  EXPECT_EQ(Scanned(15, "+x"), -1);
  EXPECT_EQ(Scanned(16, "123.4"), 3);
  EXPECT_EQ(Scanned(16, "a"), -1);
}

TEST(StdScanners, Strings) {
  EXPECT_EQ(Scanned(12, "'it''s' x"), 7);
  EXPECT_EQ(Scanned(12, "'open\rnext"), 5);  // ends at the line end
  EXPECT_EQ(Scanned(12, "x'"), -1);
  EXPECT_EQ(Scanned(13, "\"a\\\"b\" x"), 6);
  EXPECT_EQ(Scanned(13, "\"abc"), 4);          // ends at the end of the text
  EXPECT_EQ(Scanned(13, "'a'"), -1);
  EXPECT_EQ(Scanned(14, "'\\''x"), 4);
  EXPECT_EQ(Scanned(20, "'a\\'b' x"), 6);
  EXPECT_EQ(Scanned(20, "\"a\""), -1);
  EXPECT_EQ(Scanned(18, "=abc\" d"), 5);      // opening character, up to and with the next quote
  EXPECT_EQ(Scanned(18, "\"abc\rd"), 4);
}

TEST(StdScanners, MailUrlAndJsLineComment) {
  EXPECT_EQ(Scanned(17, "info@example.com. x"), 16);
  EXPECT_EQ(Scanned(17, "example.com"), -1);
  EXPECT_EQ(Scanned(19, "// text\rnext"), 7);
  EXPECT_EQ(Scanned(19, "// a - b --> c"), 9);  // stops before "-->"
  EXPECT_EQ(Scanned(19, "// a ---> c"), 5);
  EXPECT_EQ(Scanned(19, "// a -- b"), 9);
  EXPECT_EQ(Scanned(3, "abc"), -1);  // no such scanner
}

TEST(StdScanners, StartSetsMatchScanners) {
  // Every start scanner accepts some text that begins with a character of its start set.
  const std::string samples[] = {"a", "1", "'x'", "\"x\"", "'x'", "-1", "1", "a@b", "\"x\"", "//", "'x'"};
  for (int n = 10; n <= 20; ++n) {
    const std::string& text = samples[n - 10];
    EXPECT_TRUE(vlr::StartSetOf(std::uint8_t(n)).Contains(text[0])) << n;
    EXPECT_GT(Scanned(n, text), 0) << n;
  }
}

}  // namespace
