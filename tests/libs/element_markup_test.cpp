// The markup of the insertion dialogs: links, tables, objects and applets in
// both tag cases, escaping of values.
#include "libs/extdlgs/ElementMarkup.h"

#include <gtest/gtest.h>

using namespace vlr::extdlgs;

TEST(ElementMarkup, LinkAttributesAreOptionalAndValuesEscapedAndKeptInCase) {
    EXPECT_EQ(LinkMarkup({"Page.html", "", "", ""}, true), (MarkupPair{"<a href=\"Page.html\">", "</a>"}));
    EXPECT_EQ(LinkMarkup({"Page.html", "Home", "_blank", "Go \"home\""}, false),
              (MarkupPair{"<A HREF=\"Page.html\" TARGET=\"_blank\" TITLE=\"Go &quot;home&quot;\">Home", "</A>"}));
    EXPECT_EQ(AttributeValue("a<b>&\"c\""), "a&lt;b&gt;&amp;&quot;c&quot;");
}

TEST(ElementMarkup, TableSplitsAtTheFirstCell) {
    TableSpec t;
    t.rows = 2;
    t.columns = 2;
    t.border = 1;
    EXPECT_EQ(TableMarkup(t, true),
              (MarkupPair{"<table border=\"1\">\n\r  <tr>\n\r    <td>",
                          "</td>\n\r    <td></td>\n\r  </tr>\n\r  <tr>\n\r    <td></td>\n\r    <td></td>\n\r"
                          "  </tr>\n\r</table>"}));
}

TEST(ElementMarkup, TableWithEveryOptionInUpperCase) {
    TableSpec t;
    t.rows = 2;
    t.columns = 1;
    t.border = 0;
    t.width = 80;
    t.widthPercent = true;
    t.cellPadding = 3;
    t.cellSpacing = 0;
    t.headerRow = true;
    t.caption = "Prices & more";
    EXPECT_EQ(TableMarkup(t, false),
              (MarkupPair{"<TABLE BORDER=\"0\" WIDTH=\"80%\" CELLPADDING=\"3\" CELLSPACING=\"0\">\n\r"
                          "  <CAPTION>Prices & more</CAPTION>\n\r  <TR>\n\r    <TH>",
                          "</TH>\n\r  </TR>\n\r  <TR>\n\r    <TD></TD>\n\r  </TR>\n\r</TABLE>"}));
    t.width = 400;
    t.widthPercent = false;
    EXPECT_NE(TableMarkup(t, true).start.find("width=\"400\""), std::string::npos);
}

TEST(ElementMarkup, ObjectAndAppletWithParameters) {
    ObjectSpec o{"clsid:1234-AB", "Player", "", 320, 0, {{"src", "a b.wav"}, {"", "ignored"}, {"loop", "\"1\""}}};
    EXPECT_EQ(ObjectMarkup(o, true),
              "<object classid=\"clsid:1234-AB\" id=\"Player\" width=\"320\">\n\r"
              "  <param name=\"src\" value=\"a b.wav\">\n\r"
              "  <param name=\"loop\" value=\"&quot;1&quot;\">\n\r</object>");
    AppletSpec a{"Clock.class", "classes/", "clock.jar", "clock", "A clock", 200, 100, {{"Zone", "UTC"}}};
    EXPECT_EQ(AppletMarkup(a, false),
              "<APPLET CODE=\"Clock.class\" CODEBASE=\"classes/\" ARCHIVE=\"clock.jar\" NAME=\"clock\" "
              "WIDTH=\"200\" HEIGHT=\"100\" ALT=\"A clock\">\n\r  <PARAM NAME=\"Zone\" VALUE=\"UTC\">\n\r</APPLET>");
}
