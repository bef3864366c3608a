// Tests of line-break normalisation.
#include <gtest/gtest.h>

#include "memo/engine/LineBreaks.h"

using namespace velora::memo;

TEST(LineBreaks, EveryFormBecomesOneCR) {
  EXPECT_EQ(normaliseBreaks("a\r\nb"), "a\rb");
  EXPECT_EQ(normaliseBreaks("a\n\rb"), "a\rb");
  EXPECT_EQ(normaliseBreaks("a\rb"), "a\rb");
  EXPECT_EQ(normaliseBreaks("a\nb"), "a\rb");
}

TEST(LineBreaks, PairsAreReadLeftToRight) {
  EXPECT_EQ(normaliseBreaks("\r\n\r"), "\r\r");
  EXPECT_EQ(normaliseBreaks("\n\r\n"), "\r\r");
  EXPECT_EQ(normaliseBreaks("\r\n\r\n"), "\r\r");
  EXPECT_EQ(normaliseBreaks("\r\r"), "\r\r");
  EXPECT_EQ(normaliseBreaks("\n\n"), "\r\r");
  EXPECT_EQ(normalisedLength("x\r\n\r\ny\n"), 5u);
}

TEST(LineBreaks, StreamingHoldsBackAPossiblePair) {
  BreakNormaliser n;
  std::string out;
  n.feed("ab\r", false, out);
  EXPECT_EQ(out, "ab");
  n.feed("\ncd\n", false, out);
  EXPECT_EQ(out, "ab\rcd");
  n.feed("\rx\n", true, out);
  EXPECT_EQ(out, "ab\rcd\rx\r");
}

TEST(LineBreaks, StreamingMatchesWholeForEverySplit) {
  const std::string s = "a\r\n\rb\n\r\nc\r\rd\n\ne\r";
  for (std::size_t cut = 0; cut <= s.size(); ++cut) {
    BreakNormaliser n;
    std::string out;
    n.feed(std::string_view(s).substr(0, cut), false, out);
    n.feed(std::string_view(s).substr(cut), true, out);
    EXPECT_EQ(out, normaliseBreaks(s)) << cut;
  }
}

TEST(LineBreaks, DetectAndExportStyles) {
  EXPECT_EQ(detectBreakStyle("abc"), BreakStyle::LF);
  EXPECT_EQ(detectBreakStyle("a\r\nb"), BreakStyle::CRLF);
  EXPECT_EQ(detectBreakStyle("a\nb"), BreakStyle::LF);
  EXPECT_EQ(detectBreakStyle("a\rb"), BreakStyle::CR);
  EXPECT_EQ(detectBreakStyle("a\n\rb"), BreakStyle::LFCR);
  EXPECT_EQ(exportBreaks("a\rb\r", BreakStyle::CRLF), "a\r\nb\r\n");
  EXPECT_EQ(exportBreaks("a\rb", BreakStyle::LF), "a\nb");
}
