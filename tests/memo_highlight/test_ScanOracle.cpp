// Oracle test of the incremental re-scan with the shipped HTML scheme: thousands of random edits
// on generated pages (delimiters of comments, scripts, styles, server blocks, quotes, breaks,
// deletions, undo); after each one the control's values must equal a scan from scratch.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "memo/engine/scheme/ScanCheck.h"
#include "memo/engine/scheme/SchemeCompiler.h"

namespace {

// A page in the manner of the benchmark corpus: head with style and script, then sections of
// navigation, text with entities and URLs, tables, forms, comments, inline script and style,
// server blocks and preformatted code, varied by a fixed-seed generator.
std::string GeneratedPage(std::uint64_t seed, int sections) {
  std::uint64_t s = seed * 0x9E3779B97F4A7C15ull + 7;
  const auto below = [&s](std::uint64_t n) {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s % n;
  };
  const char* words[] = {"the", "editor", "page", "caf\xC3\xA9", "value", "script", "style", "&amp;", "&nbsp;",
                         "http://www.example.com/a?b=1", "mailto:x@example.com", "\xE6\x97\xA5\xE6\x9C\xAC"};
  const auto text = [&](int n) {
    std::string t;
    for (int i = 0; i < n; ++i) t += std::string(words[below(12)]) + " ";
    return t;
  };
  std::string p = "<!DOCTYPE html>\r<html><head><title>T</title>\r<style>\rbody { color: #333; }\r"
                  "@media (max-width: 600px) { .nav { display: none; } }\r</style>\r"
                  "<script>\rvar re = /ab+c/g; // a comment </script>\r";
  p += "let t = `x ${1 + 2} y`; let w = `a ${ f({b: {c: 1}}) } c ${ g(`n ${k} m`) } z`; var r2 = /a\\/[/]b/;\rfunction f(a) { return a < 2 ? \"s\" : 'c'; }\r</script>\r</head><body>\r";
  for (int k = 0; k < sections; ++k) {
    switch (below(8)) {
      case 0: p += "<nav class=\"nav-item\"><a href=\"http://www.example.com/" + std::to_string(k) + "\">" + text(3) + "</a></nav>\r"; break;
      case 1: p += "<p>" + text(12) + "\r" + text(8) + "</p>\r"; break;
      case 2: p += "<table border=\"1\"><tr><td>" + text(2) + "</td><td align=\"right\">42</td></tr></table>\r"; break;
      case 3: p += "<form action=\"/s\"><input name=\"q\" value=\"a &amp; b\"><textarea>" + text(3) + "</textarea></form>\r"; break;
      case 4: p += "<!-- " + text(5) + "\r" + text(4) + " -->\r"; break;
      case 5: p += "<script type=\"text/javascript\">\rif (a < b && c) { x = \"</p>\"; } // " + text(2) + "\r</script>\r"; break;
      case 6: p += "<? echo \"" + text(2) + "\"; ?>\r<% Response.Write(1) %>\r<+ begin x := 1; end +>\r"
                 "<p><%title%> and <&menu.hsn&></p><a href=\"<%root%>/i.html\" title='<&f.txt&>'>x</a>\r"; break;
      default: p += "<pre>" + text(4) + "\r  code &lt;b&gt;\r</pre>\r<div onclick=\"go(1)\" style=\"color:red\">" + text(3) + "</div>\r"; break;
    }
  }
  return p + "</body></html>\r";
}

}  // namespace

TEST(ScanOracle, RandomEditsOnGeneratedPagesMatchAScanFromScratch) {
  const vlr::TSchemeTables tables = vlr::CompileSchemeFile(VELORA_HTML_SCHEME_SCRIPT);
  vlr::TScanCheck check(tables, 2026);
  for (std::uint64_t seed = 1; seed <= 4; ++seed) check.Run(GeneratedPage(seed, 400), 600);
  std::ifstream in(VELORA_HTML_SAMPLE, std::ios::binary);
  std::stringstream sample;
  sample << in.rdbuf();
  check.Run(sample.str(), 600);
  EXPECT_EQ(check.Result().edits, 3000);
  EXPECT_EQ(check.Result().mismatches, 0) << check.Result().firstMismatch;
}
