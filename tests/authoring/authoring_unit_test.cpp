// The authoring unit in a test frame: every insertion command sends its
// markup with message 2029 in the tag case, the character and list menus,
// the dialogs of the outside module, and the style submenu.
#include "FakeShell.h"

#include "app/commands/MainCommands.h"
#include "authoring/AuthoringUnit.h"
#include "authoring/FrmStylePick.h"
#include "authoring/markup/TagCase.h"
#include "authoring/styles/StyleSheets.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

using namespace vlrtest;
using vlr::authoring::Insertion;

namespace {

struct DialogCall {
    std::string which;
    vlr::Handle first, second;
    std::string lower;
};
std::vector<DialogCall> calls;

void FakeShowHLink(vlr::Handle app, vlr::Handle main) { calls.push_back({"ShowHLink", app, main, ""}); }
void FakeInsTable(vlr::Handle m, vlr::Handle e, const char* l) { calls.push_back({"InsTable", m, e, l}); }
void FakeInsActiveX(vlr::Handle m, vlr::Handle e, const char* l) { calls.push_back({"InsActiveX", m, e, l}); }
void FakeInsJavaApp(vlr::Handle m, vlr::Handle e, const char* l) { calls.push_back({"InsJavaApp", m, e, l}); }
void FakeInsCSS(vlr::Handle m, vlr::Handle e) { calls.push_back({"InsCSS", m, e, ""}); }

class AuthoringUnit : public ::testing::Test {
protected:
    FakeShell shell;
    vlr::TAuthoringUnit unit{shell};
    void SetUp() override {
        calls.clear();
        auto& e = shell.Libraries().entry;
        e.ShowHLink = FakeShowHLink;
        e.InsTable = FakeInsTable;
        e.InsActiveX = FakeInsActiveX;
        e.InsJavaApp = FakeInsJavaApp;
        e.InsCSS = FakeInsCSS;
        unit.ConnectCommands();
    }
    std::vector<RecordingWindow::Received>& sent() { return shell.editor.received; }
    RecordingWindow::Received last() { return sent().empty() ? RecordingWindow::Received{} : sent().back(); }
    QMenu* styles() { return shell.Commands().menu(QStringLiteral("CascadingStyleSheets1")); }
    QStringList styleCaptions() {
        QStringList out;
        for (QAction* a : styles()->actions())
            out << (a->isSeparator() ? (a->isVisible() ? QStringLiteral("--") : QStringLiteral("(--)")) : a->text());
        return out;
    }
    void WriteStyles(const std::vector<std::pair<std::string, std::string>>& nameAndColour) {
        vlr::authoring::TCSSList list;
        for (const auto& [name, colour] : nameAndColour) {
            auto* s = list.Add();
            s->S[0] = name;
            s->S[18] = colour;
        }
        ASSERT_TRUE(list.SaveToFile(shell.AppDir() + "styles.dat").ok());
    }
    void OpenInsertMenu() { Q_EMIT shell.Commands().menu(QStringLiteral("Insert1"))->aboutToShow(); }
};

TEST_F(AuthoringUnit, EveryInsertionCommandSendsItsMarkupInBothTagCasesAndTheModernMode) {
    for (bool modern : {false, true}) {
        shell.SetPreference("ModernHTML", modern);
        for (bool lower : {true, false}) {
            shell.lowerTags = lower;
            for (const Insertion& row : vlr::authoring::Insertions()) {
                sent().clear();
                shell.methods.clear();
                shell.Trigger(row.command);
                const auto m = vlr::authoring::MarkupOf(row, modern, "Arial", "2");
                ASSERT_EQ(sent().size(), 1u) << row.command;
                EXPECT_EQ(last().msg, 2029u);
                EXPECT_EQ(last().first, vlr::authoring::TagCase(m.start, lower)) << row.command;
                EXPECT_EQ(last().second, vlr::authoring::TagCase(m.end, lower)) << row.command;
                EXPECT_EQ(last().third, m.flag) << row.command;
                EXPECT_EQ(shell.methods, std::vector<std::string>{row.handler});
            }
        }
    }
}

TEST_F(AuthoringUnit, FontStartTakesTheTwoToolbarBoxes) {
    shell.Commands().fontNameBox()->setCurrentText(QStringLiteral("Verdana"));
    shell.Commands().fontSizeBox()->setCurrentText(QStringLiteral("+2"));
    shell.lowerTags = false;
    shell.Trigger("ToolbarButton9735");
    EXPECT_EQ(last().first, "<FONT FACE=\"VERDANA\" SIZE=+2>");
    EXPECT_EQ(last().second, "</FONT>");
    shell.lowerTags = true;
    shell.SetPreference("ModernHTML", true);
    shell.Trigger("FONT1");
    EXPECT_EQ(last().first, "<span style=\"font-family:verdana;font-size:x-large\">");
}

TEST_F(AuthoringUnit, NothingIsSentWhenTheActiveChildIsNoEditorWindow) {
    RecordingWindow picture("TFrmGraphic");
    shell.activeChild = picture.handle();
    for (const char* c : {"ToolbarButton9723", "ToolbarButton9718", "Advert2", "Image1", "CharSet169"})
        shell.Trigger(c);
    shell.activeChild = 0;
    shell.Trigger("ToolbarButton9734");
    EXPECT_TRUE(picture.received.empty());
    EXPECT_TRUE(sent().empty());
}

TEST_F(AuthoringUnit, CharacterMenuSendsEntitiesChecksTheItemAndTheButtonRepeatsIt) {
    EXPECT_EQ(unit.LastCharCode(), 60);
    shell.Trigger("ToolbarButton9734");
    EXPECT_EQ(last().first, "&#60;");
    QActionGroup* chars = shell.Commands().radioGroup(QStringLiteral("chars"));
    ASSERT_EQ(chars->actions().size(), 30);
    EXPECT_TRUE(chars->actions().front()->isChecked());
    for (QAction* item : chars->actions()) {
        item->trigger();
        const int code = item->data().toInt();
        EXPECT_EQ(unit.LastCharCode(), code) << item->text().toStdString();
        EXPECT_EQ(last().first, "&#" + std::to_string(code) + ";");
        EXPECT_EQ(last().second, "");
        EXPECT_EQ(last().third, "no");
        EXPECT_TRUE(item->isChecked());
    }
    shell.Commands().action(QStringLiteral("CharSet169"))->trigger();
    EXPECT_EQ(last().first, "&#169;");
    shell.Commands().action(QStringLiteral("CharSet8482"))->trigger();
    EXPECT_EQ(last().first, "&#8482;");
    shell.Trigger("ToolbarButton9734");
    EXPECT_EQ(last().first, "&#8482;");
    EXPECT_EQ(shell.methods.back(), "ToolbarButton9734Click");
}

TEST_F(AuthoringUnit, ListStyleMenuSetsTheTypeAndInsertsAtOnce) {
    shell.Trigger("ToolbarButton9718");
    EXPECT_EQ(last().first, "<ul>\n\r    <li>bullet 1\n\r    <li>bullet 2\n\r</ul>");
    EXPECT_EQ(last().second, "");
    EXPECT_EQ(last().third, "");
    shell.Trigger("CapitalLetters1");
    EXPECT_EQ(unit.ListType(), "A");
    EXPECT_TRUE(shell.Commands().action(QStringLiteral("CapitalLetters1"))->isChecked());
    EXPECT_EQ(last().first, "<ol type=\"A\">\n\r    <li>bullet 1\n\r    <li>bullet 2\n\r</ol>");
    shell.lowerTags = false;
    shell.Trigger("ToolbarButton9718");
    EXPECT_EQ(last().first, "<OL TYPE=\"A\">\n\r    <LI>BULLET 1\n\r    <LI>BULLET 2\n\r</OL>");
    shell.Trigger("RomanNumeralsSmall1");
    EXPECT_EQ(unit.ListType(), "i");
    EXPECT_EQ(shell.methods.back(), "Menu2Click");
}

TEST_F(AuthoringUnit, AdvertKeepsTheSiteAddressAsItIs) {
    shell.lowerTags = false;
    shell.Trigger("Advert2");
    EXPECT_EQ(last().first, std::string("<A HREF=\"") + vlr::TAuthoringUnit::AdvertSite() + "\"><IMG SRC=\"" +
                                vlr::TAuthoringUnit::AdvertSite() +
                                "/banners/button4.gif\" BORDER=0 WIDTH=88 HEIGHT=31 ALT=\"Created With VLR\"></A>");
    EXPECT_EQ(last().third, "no");
}

TEST_F(AuthoringUnit, ImageAndTheDialogsOfTheOutsideModule) {
    shell.Trigger("Image1");
    shell.Trigger("InsertImage1");
    ASSERT_EQ(sent().size(), 2u);
    EXPECT_EQ(sent()[0].msg, 3079u);
    shell.Trigger("Hyperlink1");
    shell.Trigger("InsertHyperlink1");
    shell.lowerTags = false;
    shell.Trigger("Table1");
    shell.lowerTags = true;
    shell.Trigger("ActiveXControl1");
    shell.Trigger("JavaApplet1");
    shell.Trigger("Define1");
    const vlr::Handle main = shell.MainHandle(), editor = shell.editor.handle();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].which, "ShowHLink");
    EXPECT_EQ(calls[0].first, shell.ApplicationHandle());
    EXPECT_EQ(calls[0].second, main);
    EXPECT_EQ(calls[2].which, "InsTable");
    EXPECT_EQ(calls[2].lower, "false");
    EXPECT_EQ(calls[3].which, "InsActiveX");
    EXPECT_EQ(calls[3].lower, "true");
    EXPECT_EQ(calls[4].which, "InsJavaApp");
    for (std::size_t i = 2; i < 6; ++i) {
        EXPECT_EQ(calls[i].first, main);
        EXPECT_EQ(calls[i].second, editor);
    }
    EXPECT_EQ(calls[5].which, "InsCSS");
}

TEST_F(AuthoringUnit, AMissingEntryPointIsReportedNotCalled) {
    shell.Libraries().entry.InsTable = nullptr;
    shell.Trigger("Table1");
    ASSERT_EQ(shell.reports.size(), 1u);
    EXPECT_EQ(shell.methods.back(), "Table1Click");
}

TEST_F(AuthoringUnit, StyleSubmenuFollowsTheFileAtEveryOpening) {
    OpenInsertMenu();  // no file at all: an empty list, no report
    EXPECT_EQ(styleCaptions(), (QStringList{QStringLiteral("&Organize..."), QStringLiteral("(--)")}));
    WriteStyles({{"Head", "red"}, {"Fine & dandy", ""}, {"Head", "blue"}});
    OpenInsertMenu();
    EXPECT_EQ(styleCaptions(), (QStringList{QStringLiteral("&Organize..."), QStringLiteral("--"),
                                            QStringLiteral("Head"), QStringLiteral("Fine && dandy"),
                                            QStringLiteral("Head")}));
    WriteStyles({});
    OpenInsertMenu();
    EXPECT_EQ(styleCaptions(), (QStringList{QStringLiteral("&Organize..."), QStringLiteral("(--)")}));
    EXPECT_TRUE(shell.reports.empty());
}

TEST_F(AuthoringUnit, ADamagedStyleFileIsReportedAndTheSubmenuStaysAsItWas) {
    WriteStyles({{"Keep", ""}});
    OpenInsertMenu();
    std::ofstream(shell.AppDir() + "styles.dat", std::ios::binary | std::ios::trunc) << std::string("\x02\0\0\0", 4);
    OpenInsertMenu();
    EXPECT_EQ(styleCaptions(),
              (QStringList{QStringLiteral("&Organize..."), QStringLiteral("--"), QStringLiteral("Keep")}));
    ASSERT_EQ(shell.reports.size(), 1u);
    EXPECT_NE(shell.reports[0].find("damaged"), std::string::npos);
    EXPECT_EQ(shell.methods.back(), "FillStyles");
}

// Chooses a form in the next "Insert Style" dialog (or cancels it).
void AnswerStylePick(int button, bool ok) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, button, ok] {
        if (!vlr::FrmStylePick || !vlr::FrmStylePick->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        QRadioButton* radio[] = {vlr::FrmStylePick->RadioButton1, vlr::FrmStylePick->RadioButton2,
                                 vlr::FrmStylePick->RadioButton3};
        radio[button]->click();
        (ok ? vlr::FrmStylePick->Button1 : vlr::FrmStylePick->Button2)->click();
    });
    timer->start(5);
}

TEST_F(AuthoringUnit, StyleItemsInsertTheFirstStyleOfTheirNameInTheChosenForm) {
    WriteStyles({{"Head", "red"}, {"Head", "blue"}});
    OpenInsertMenu();
    QAction* second = styles()->actions().at(3);
    shell.lowerTags = false;
    AnswerStylePick(2, true);
    second->trigger();
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(last().first, " STYLE=\"color: red\"");
    EXPECT_EQ(last().second, "");
    EXPECT_EQ(last().third, "no");
    EXPECT_EQ(shell.methods.back(), "StyleClick");

    AnswerStylePick(0, true);
    second->trigger();
    EXPECT_EQ(last().first.substr(0, 36), "<STYLE TYPE=\"text/css\"><!--\r\r.Head {");

    AnswerStylePick(1, false);
    second->trigger();
    EXPECT_EQ(sent().size(), 2u);

    // A style removed from the file since the menu was filled inserts nothing visible.
    WriteStyles({{"Other", ""}});
    AnswerStylePick(1, true);
    second->trigger();
    ASSERT_EQ(sent().size(), 3u);
    EXPECT_EQ(last().first, "");
}

TEST_F(AuthoringUnit, CommandGroupsAreAvailable) {
    EXPECT_TRUE(shell.Gate().available(vlr::CommandGroup::Authoring));
    EXPECT_TRUE(shell.Gate().available(vlr::CommandGroup::Styles));
    for (QAction* a : shell.Commands().actionsOfGroup(vlr::CommandGroup::Authoring))
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

}  // namespace
