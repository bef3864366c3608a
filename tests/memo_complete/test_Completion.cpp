// What the completion list offers at the caret, decided from the highlighter's token values of
// the real HTML scheme, and the open element that "</" completes.
#include <gtest/gtest.h>

#include "HtmlPage.h"
#include "memo/engine/complete/Completion.h"
#include "memo/engine/complete/WebData.h"

namespace {

using namespace velora::memo;
using completetest::Caret;

const WebData& Data() {
  static const WebData d = WebData::Load(VELORA_WEB_DATA);
  return d;
}

struct Detect : ::testing::Test {
  MemoEngine engine;
  CompletionRequest At(const std::string& marked) {
    const auto [text, caret] = Caret(marked);
    engine.setText(text);
    completetest::Highlight(engine);
    engine.setSelection(caret, caret);
    return DetectCompletion(engine);
  }
  std::vector<std::string> Labels(const CompletionRequest& r, std::size_t n = 3) {
    CompletionSources src;
    src.data = &Data();
    src.variables = {"SiteName", "Author"};
    src.includes = {"parts/header.htm"};
    std::vector<std::string> out;
    for (const CompletionItem& i : CompletionItems(r, src))
      if (out.size() < n) out.push_back(i.label);
    return out;
  }
};

TEST_F(Detect, ElementsAfterALessThanSignAndEndTags) {
  CompletionRequest r = At("<p>Some text <di|");
  EXPECT_EQ(r.kind, CompletionKind::Element);
  EXPECT_EQ(r.prefix, "di");
  EXPECT_EQ(r.start, 14);
  EXPECT_EQ(Labels(r), (std::vector<std::string>{"dialog", "dir", "div"}));
  r = At("<p>x</|");
  EXPECT_EQ(r.kind, CompletionKind::Element);
  EXPECT_TRUE(r.endTag);
  CompletionSources src;
  src.data = &Data();
  EXPECT_EQ(CompletionItems(r, src).front().insert, "a>");
  // Letter case is ignored; matches inside a name come after those at its start.
  r = At("<TAB|");
  EXPECT_EQ(Labels(r, 20).front(), "table");
}

TEST_F(Detect, AttributesOfTheElementAfterItsNameOrAnotherAttribute) {
  CompletionRequest r = At("<a hr|");
  EXPECT_EQ(r.kind, CompletionKind::Attribute);
  EXPECT_EQ(r.element, "a");
  EXPECT_EQ(Labels(r), (std::vector<std::string>{"href", "hreflang", "oncanplaythrough"}));
  r = At("<img src=\"a.png\" |");
  EXPECT_EQ(r.kind, CompletionKind::Attribute);
  EXPECT_EQ(r.element, "img");
  // A value that holds ">" does not end the tag.
  r = At("<p title=\"a > b\" cl|");
  EXPECT_EQ(r.kind, CompletionKind::Attribute);
  EXPECT_EQ(r.element, "p");
  EXPECT_EQ(Labels(r, 1), (std::vector<std::string>{"class"}));
  r = At("<a href=\"x\">text |");
  EXPECT_EQ(r.kind, CompletionKind::None);
}

TEST_F(Detect, ValuesOfEnumeratedAttributesOnly) {
  CompletionRequest r = At("<input type=\"che|\">");
  EXPECT_EQ(r.kind, CompletionKind::AttributeValue);
  EXPECT_EQ(r.element, "input");
  EXPECT_EQ(r.attribute, "type");
  EXPECT_EQ(Labels(r), (std::vector<std::string>{"checkbox"}));
  r = At("<form method='|'>");
  EXPECT_EQ(r.attribute, "method");
  EXPECT_EQ(Labels(r), (std::vector<std::string>{"get", "post", "dialog"}));
  r = At("<a href=\"pa|\">");
  EXPECT_EQ(r.kind, CompletionKind::AttributeValue);
  EXPECT_TRUE(Labels(r).empty());
}

TEST_F(Detect, CharacterReferencesInTextAndValues) {
  CompletionRequest r = At("<p>Fish &amp|");
  EXPECT_EQ(r.kind, CompletionKind::Entity);
  EXPECT_EQ(r.prefix, "amp");
  CompletionSources src;
  src.data = &Data();
  const std::vector<CompletionItem> items = CompletionItems(r, src);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front().label, "amp;");
  EXPECT_EQ(items.front().detail, "&");
  r = At("<a title=\"Tom &amp; J&ea|\">");
  EXPECT_EQ(r.kind, CompletionKind::Entity);
  EXPECT_EQ(r.prefix, "ea");
}

TEST_F(Detect, CssPropertiesAndKeywordsInStyleBlocksAndAttributes) {
  CompletionRequest r = At("<style>\rp { disp|");
  EXPECT_EQ(r.kind, CompletionKind::CssProperty);
  EXPECT_EQ(Labels(r, 1), (std::vector<std::string>{"display"}));
  r = At("<style>\rp { color: red; display: fl|");
  EXPECT_EQ(r.kind, CompletionKind::CssValue);
  EXPECT_EQ(r.property, "display");
  EXPECT_EQ(Labels(r, 2), (std::vector<std::string>{"flex", "flow"}));
  r = At("<p style=\"margin: 0; posi|\">");
  EXPECT_EQ(r.kind, CompletionKind::CssProperty);
  EXPECT_EQ(Labels(r, 1), (std::vector<std::string>{"position"}));
  r = At("<p style=\"position: st|\">");
  EXPECT_EQ(r.kind, CompletionKind::CssValue);
  EXPECT_EQ(Labels(r, 2), (std::vector<std::string>{"static", "sticky"}));
}

TEST_F(Detect, NothingInCommentsAndScripts) {
  EXPECT_EQ(At("<!-- <di|").kind, CompletionKind::None);
  EXPECT_EQ(At("<script>\rif (a <di|").kind, CompletionKind::None);
  EXPECT_EQ(At("<script>\rvar s = \"&am|").kind, CompletionKind::None);
}

TEST_F(Detect, TheProgramsVariablesAndIncludeFiles) {
  CompletionRequest r = At("<p><%Si|");
  EXPECT_EQ(r.kind, CompletionKind::Variable);
  EXPECT_EQ(Labels(r), (std::vector<std::string>{"SiteName"}));
  r = At("<a title=\"<%|\">");
  EXPECT_EQ(r.kind, CompletionKind::Variable);
  r = At("<body>\r<&par|");
  EXPECT_EQ(r.kind, CompletionKind::IncludeFile);
  CompletionSources src;
  src.includes = {"parts/header.htm"};
  EXPECT_EQ(CompletionItems(r, src).front().insert, "parts/header.htm&>");
}

TEST_F(Detect, AcceptingReplacesTheWordAsOneUndoStepAndKeepsAClosingMarkThatFollows) {
  CompletionRequest r = At("<p><%Si|%>");
  AcceptCompletion(engine, r, {"SiteName", "SiteName%>", {}});
  EXPECT_EQ(engine.text(), "<p><%SiteName%>");
  EXPECT_EQ(engine.selection().caret, 13);
  engine.undo();
  EXPECT_EQ(engine.text(), "<p><%Si%>");
}

TEST(OpenElement, TheNearestStartTagThatNoEndTagClosed) {
  MemoEngine e;
  auto nearest = [&e](const std::string& text) {
    e.setText(text);
    completetest::Highlight(e);
    return NearestOpenElement(MarkupSlice::Of(e, 0, e.length()), text.size(), Data());
  };
  EXPECT_EQ(nearest("<div class=\"a\"><p>text</p><br><img src=x /><hr/>"), "div");
  EXPECT_EQ(nearest("<ul>\r<li>one</li>\r<li>two"), "li");
  EXPECT_EQ(nearest("<Section><!-- <p> --><script>var a = '<b>';</script>"), "Section");
  EXPECT_EQ(nearest("<p>done</p>"), "");
}

}  // namespace
