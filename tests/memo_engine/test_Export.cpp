// Tests of the exports of a selection: plain, Unix, HTML page and rich text.
#include <gtest/gtest.h>

#include "memo/engine/Export.h"
#include "memo/engine/MemoEngine.h"

using namespace velora::memo;

namespace {
struct Doc {
  MemoEngine e;
  explicit Doc(std::string_view s) {
    e.setText(s);
    e.title = "My Page";
    e.dateText = [] { return std::string("2026-12-01"); };
  }
};

// A parser stand-in with two styles, for the style-dependent exports.
struct TwoStyles : TokenScanner {
  std::uint8_t scanToken(MemoEngine&, EdStream& s, int& len) override { s.advance(); ++len; return 0; }
  void resetContext(std::uint8_t) override {}
  [[nodiscard]] StyleEffect styleOf(std::uint8_t t) const override {
    StyleEffect e;
    if (t == 1) {
      e.defaultForeground = false;
      e.foreground = rgb(0x80, 0, 0);  // maroon
      e.bold = true;
    }
    return e;
  }
  [[nodiscard]] int styleCount() const override { return 2; }
};
}  // namespace

TEST(Export, PlainCRLFAndStoredCR) {
  Doc d("ab\rcd\ref");
  d.e.setSelection(1, 7);
  EXPECT_EQ(d.e.exportSelection(kExportCRLF), "b\r\ncd\r\ne");
  EXPECT_EQ(d.e.exportSelection(kExportStoredCR), "b\rcd\re");
  EXPECT_EQ(d.e.exportSelection(kExportLF), "b\ncd\ne");
}

TEST(Export, LastLineWithoutBreakHasNoTrailingCRLF) {
  Doc d("one\rtwo");
  d.e.setSelection(4, d.e.length());
  EXPECT_EQ(d.e.selText(), "two");
  d.e.selectAll();
  EXPECT_EQ(d.e.selText(), "one\r\ntwo");
}

TEST(Export, HtmlPageExactly) {
  Doc d("a<b>\t\"&\xE9\x01\rz");
  d.e.selectAll();
  const std::string expected =
      "<HTML><HEAD>\r\n"
      "<META NAME=\"Generator\" CONTENT=\"TSyntaxMemo 2.00.02\">\r\n"
      "<TITLE>My Page</TITLE>\r\n"
      "<META NAME=\"Date\" CONTENT=\"2026-12-01\">\r\n"
      "</HEAD>\r\n"
      "<BODY TEXT=\"#000000\" BGCOLOR=\"#ffffff\">\r\n"
      "<PRE><FONT FACE=\"Courier New\">\r\n"
      "a&lt;b&gt;&nbsp;&quot;&&#233;\r\n"
      "z\r\n"
      "</PRE></FONT></BODY></HTML>\r\n";
  EXPECT_EQ(d.e.exportSelection(kExportHTML), expected);
}

TEST(Export, HtmlUsesStylesThroughTokens) {
  Doc d("ab");
  TwoStyles p;
  d.e.setParser(1, &p);
  const std::uint8_t toks[] = {1, 0};
  d.e.storeTokens(0, 2, toks);
  d.e.selectAll();
  const std::string h = d.e.exportSelection(kExportHTML);
  EXPECT_NE(h.find("</FONT><FONT COLOR=\"#800000\"><B>a</FONT><FONT COLOR=\"#000000\"></B>b\r\n"), std::string::npos) << h;
}

TEST(Export, RichTextExactly) {
  Doc d("a'\\{}\t\xE9\rb");
  d.e.selectAll();
  const std::string expected =
      "{\\rtf1 \\deff1{\\fonttbl {\\f1 \\fnil Courier New;}}\r\n"
      "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\r\n"
      "{\\f1\\fs20\\cf0\\cb1 a\\'27\\\\\\{\\}\\tab \\'e9\\line \r\n"
      "b\r\n"
      "}}";
  EXPECT_EQ(d.e.exportSelection(kExportRTF), expected);
}

TEST(Export, RichTextColourTableAndChanges) {
  Doc d("ab");
  TwoStyles p;
  d.e.setParser(1, &p);
  const std::uint8_t toks[] = {1, 0};
  d.e.storeTokens(0, 2, toks);
  d.e.selectAll();
  const std::string r = d.e.exportSelection(kExportRTF);
  EXPECT_NE(r.find("{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red128\\green0\\blue0;}"), std::string::npos) << r;
  EXPECT_NE(r.find("\\b1 \\cf2 a\\b0 \\cf0 b"), std::string::npos) << r;
}

TEST(Export, NonAsciiTextIsWrittenAsUnicode) {
  // "é", "€", U+1F600 and a lone invalid byte 0xE9; a non-breaking space as UTF-8 and as a byte.
  Doc d("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xE9\xC2\xA0\xA0\x80");
  d.e.selectAll();
  const std::string r = d.e.exportSelection(kExportRTF);
  EXPECT_NE(r.find("{\\f1\\fs20\\cf0\\cb1 \\u233?\\u8364?\\u-10179?\\u-8704?\\'e9\\u160?\\'a0\\'80\r\n"),
            std::string::npos) << r;
  const std::string h = d.e.exportSelection(kExportHTML);
  EXPECT_NE(h.find("\r\n&#233;&#8364;&#128512;&#233;&nbsp;&nbsp;&#8364;\r\n"), std::string::npos) << h;
  // Overlong and surrogate forms are bytes, not characters.
  Doc bad("\xC0\xAF\xED\xA0\x80");
  bad.e.selectAll();
  EXPECT_NE(bad.e.exportSelection(kExportHTML).find("\r\n&#192;&#175;&#237;&nbsp;&#8364;\r\n"), std::string::npos);
}
