// The shipped completion data: read as the program reads it, it holds what the list offers and
// says where it comes from.
#include <gtest/gtest.h>

#include <algorithm>

#include "memo/engine/complete/WebData.h"

namespace {

using velora::memo::WebData;

bool Has(const std::vector<std::string>* v, const std::string& w) {
  return v && std::find(v->begin(), v->end(), w) != v->end();
}

TEST(WebData, TheShippedFileHoldsElementsAttributesValuesEntitiesAndProperties) {
  const WebData d = WebData::Load(VELORA_WEB_DATA);
  ASSERT_FALSE(d.empty());
  for (const char* package : {"html-tag-names ", "html-void-elements ", "html-element-attributes ",
                              "character-entities ", "mdn-data ", "vscode-html-languageservice "})
    EXPECT_NE(d.sources.find(package), std::string::npos) << package;
  EXPECT_TRUE(std::binary_search(d.elements.begin(), d.elements.end(), "div"));
  EXPECT_TRUE(d.isVoid("BR") && d.isVoid("img") && !d.isVoid("p"));
  const std::vector<std::string> a = d.attributesOf("A");
  EXPECT_TRUE(Has(&a, "href") && Has(&a, "class") && Has(&a, "onclick"));
  EXPECT_FALSE(Has(&a, "src"));
  EXPECT_TRUE(Has(d.valuesOf("input", "TYPE"), "checkbox"));
  EXPECT_TRUE(Has(d.valuesOf("p", "dir"), "rtl"));  // a global attribute's values
  EXPECT_EQ(d.valuesOf("a", "href"), nullptr);      // free text
  const auto amp = std::find_if(d.entities.begin(), d.entities.end(), [](const auto& e) { return e.first == "amp;"; });
  ASSERT_NE(amp, d.entities.end());
  EXPECT_EQ(amp->second, "&");
  EXPECT_TRUE(Has(d.keywordsOf("display"), "flex"));
  EXPECT_TRUE(Has(d.keywordsOf("position"), "sticky"));
  EXPECT_TRUE(Has(d.keywordsOf("color"), "inherit"));
}

TEST(WebData, ParsingSkipsCommentsAndUnknownSectionsAndKeepsLinesWithCarriageReturns) {
  const WebData d = WebData::Parse(
      "# Sources: one 1.0\r\n@elements\r\nzeta\r\nalpha\r\n@later-section\r\nwhatever here\r\n"
      "@attributes\r\nalpha x y\r\n@global\r\nid\r\n@entities\r\nbad-line-without-tab\r\nlt;\t<\r\n");
  EXPECT_EQ(d.sources, "one 1.0");
  EXPECT_EQ(d.elements, (std::vector<std::string>{"alpha", "zeta"}));
  EXPECT_EQ(d.attributesOf("alpha"), (std::vector<std::string>{"id", "x", "y"}));
  ASSERT_EQ(d.entities.size(), 1u);
  EXPECT_EQ(d.entities[0].second, "<");
  EXPECT_TRUE(WebData::Load("/nonexistent/web-data.txt").empty());
}

}  // namespace
