// The style submenu and the insertion dialogs of the outside module, in the
// real main window with a real editor window.
#include "AuthoringFixture.h"
#include "../shell/UserInput.h"

#include "app/commands/MainCommands.h"
#include "authoring/FrmStylePick.h"
#include "authoring/styles/StyleSheets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QSpinBox>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <fstream>

using namespace vlrtest;

namespace {

template <typename W>
W* Control(QWidget* dialog, const char* name) {
    W* w = dialog->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

class StylesAndDialogs : public AuthoringTest {
protected:
    std::string stylesFile() const { return (appDir / "styles.dat").string(); }
    void WriteStyles(const std::vector<std::pair<std::string, std::string>>& nameAndFamily) {
        vlr::authoring::TCSSList list;
        for (const auto& [name, family] : nameAndFamily) {
            auto* s = list.Add();
            s->S[0] = name;
            s->S[2] = family;
        }
        ASSERT_TRUE(list.SaveToFile(stylesFile()).ok());
    }
    QMenu* styles() { return w->Commands().menu(QStringLiteral("CascadingStyleSheets1")); }
    void OpenInsertMenu() {
        Q_EMIT w->Commands().menu(QStringLiteral("Insert1"))->aboutToShow();
        vlr::ProcessMessages();
    }
    QStringList captions() {
        QStringList out;
        for (QAction* a : styles()->actions())
            out << (a->isSeparator() ? (a->isVisible() ? QStringLiteral("--") : QStringLiteral("(--)")) : a->text());
        return out;
    }
    // Insert, Cascading Style Sheets, then the item at `index` of that menu, all
    // by keys as the user goes: the menu's T is also "&Table...", so T is
    // pressed until the style sheets are selected.
    void ChooseStyle(int index) {
        vlrtest::ChooseFromMenuBar(w.get(), Qt::Key_I, {});
        auto* insert = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(insert, nullptr);
        QAction* css = styles()->menuAction();
        for (int i = 0; i < 10 && insert->activeAction() != css; ++i)
            QTest::keyClick(insert, Qt::Key_T);
        ASSERT_EQ(insert->activeAction(), css);
        QTest::keyClick(insert, Qt::Key_Return);
        vlr::ProcessMessages();
        ASSERT_TRUE(styles()->isVisible());
        QAction* item = styles()->actions().at(index);
        for (int i = 0; i < 20 && styles()->activeAction() != item; ++i)
            QTest::keyClick(styles(), Qt::Key_Down);
        ASSERT_EQ(styles()->activeAction(), item);
        QTest::keyClick(styles(), Qt::Key_Return);
        vlr::ProcessMessages();
    }
    // Dialogs of the outside module are shown only when prompts are not logged.
    void ShowDialogs() { ::unsetenv("VELORA_PROMPTS"); }
};

TEST_F(StylesAndDialogs, InsertMenuListsTheStylesEachTimeItOpens) {
    Open();
    OpenInsertMenu();  // fresh install: no file, no report
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("&Organize..."), QStringLiteral("(--)")}));
    EXPECT_TRUE(Reports().empty());
    WriteStyles({{"Head", "Arial"}, {"Head", "Times"}});
    OpenInsertMenu();
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("&Organize..."), QStringLiteral("--"), QStringLiteral("Head"),
                                       QStringLiteral("Head")}));
    WriteStyles({});
    OpenInsertMenu();
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("&Organize..."), QStringLiteral("(--)")}));
}

TEST_F(StylesAndDialogs, ADamagedStyleFileReachesTheExceptionReport) {
    Open();
    WriteStyles({{"Keep", ""}});
    OpenInsertMenu();
    std::ofstream(stylesFile(), std::ios::binary | std::ios::trunc) << std::string("\x01\0\0\0\xff\xff\xff\xff", 8);
    OpenInsertMenu();
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("&Organize..."), QStringLiteral("--"), QStringLiteral("Keep")}));
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].method, "TFrmMainVLR.FillStyles");
    EXPECT_NE(Reports()[0].message.find("damaged"), std::string::npos);
}

TEST_F(StylesAndDialogs, AStyleItemInsertsTheFormChosenInTheStylePicker) {
    Open(false);
    WriteStyles({{"Head", "Arial"}, {"Head", "Times"}});
    ShowDialogs();
    AnswerNextDialog("FrmStylePick", [](QWidget* d) {
        Control<QRadioButton>(d, "RadioButton2")->click();
        Control<QPushButton>(d, "Button1")->click();
    });
    Set("", 0, 0);
    ChooseStyle(3);  // the second "Head" inserts the first
    // Only what is set, under a selector a page can use.
    EXPECT_EQ(Text(), ".Head {\r\n   font-family: Arial\r\n}\r\n\r\n");
    EXPECT_EQ(Caret(), (std::pair<int, int>{1, 5}));

    // The attribute form goes inside a tag, after its name, with a blank between.
    AnswerNextDialog("FrmStylePick", [](QWidget* d) {
        auto* attribute = Control<QRadioButton>(d, "RadioButton3");
        QTest::mouseClick(attribute, Qt::LeftButton, {}, QPoint(4, attribute->height() / 2));
        auto* ok = Control<QPushButton>(d, "Button1");
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    Set("<div>", 4, 0);
    ChooseStyle(3);
    EXPECT_EQ(Text(), "<div STYLE=\"font-family: Arial\">");  // the upper-case tags of this test

    AnswerNextDialog("FrmStylePick", [](QWidget* d) { Control<QPushButton>(d, "Button2")->click(); });
    Set("", 0, 0);
    ChooseStyle(2);
    EXPECT_EQ(Text(), "");
}

TEST_F(StylesAndDialogs, TheOrganizerWritesStylesThatTheMenuThenOffers) {
    Open();
    ShowDialogs();
    AnswerNextDialog("FrmStyleOrganizer", [](QWidget* d) {
        Control<QPushButton>(d, "newStyle")->click();
        Control<QLineEdit>(d, "name")->setText(QStringLiteral("Warning"));
        Control<QLineEdit>(d, "color")->setText(QStringLiteral("#CC0000"));
        Control<QPushButton>(d, "okButton")->click();
    });
    Trigger("Define1");
    OpenInsertMenu();
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("&Organize..."), QStringLiteral("--"), QStringLiteral("Warning")}));
}

TEST_F(StylesAndDialogs, TableDialogInsertsIntoTheActiveEditorInTheTagCase) {
    Open(false);
    ShowDialogs();
    AnswerNextDialog("FrmTable", [](QWidget* d) {
        Control<QSpinBox>(d, "rows")->setValue(1);
        Control<QSpinBox>(d, "columns")->setValue(2);
        Control<QPushButton>(d, "okButton")->click();
    });
    Set("cell", 0, 4);
    Trigger("Table1");
    EXPECT_EQ(Text(), "<TABLE BORDER=\"1\">\r\n  <TR>\r\n    <TD>cell</TD>\r\n    <TD></TD>\r\n  </TR>\r\n</TABLE>");
}

TEST_F(StylesAndDialogs, HyperlinkDialogReplacesTheSelectionByTheLink) {
    Open();
    ShowDialogs();
    AnswerNextDialog("FrmHyperlink", [](QWidget* d) {
        Control<QComboBox>(d, "address")->setEditText(QStringLiteral("About.html"));
        Control<QPushButton>(d, "okButton")->click();
    });
    Set("see About us now", 4, 8);
    Trigger("InsertHyperlink1");
    EXPECT_EQ(Text(), "see <a href=\"About.html\">About us</a> now");
}

TEST_F(StylesAndDialogs, AppletDialogWithParameters) {
    Open();
    ShowDialogs();
    AnswerNextDialog("FrmJavaApplet", [](QWidget* d) {
        Control<QLineEdit>(d, "code")->setText(QStringLiteral("Clock.class"));
        Control<QPushButton>(d, "addParameter")->click();
        auto* table = d->findChild<QTableWidget*>(QStringLiteral("parameters"));
        table->item(0, 0)->setText(QStringLiteral("zone"));
        table->item(0, 1)->setText(QStringLiteral("UTC"));
        Control<QPushButton>(d, "okButton")->click();
    });
    Set("", 0, 0);
    Trigger("JavaApplet1");
    EXPECT_EQ(Text(), "<applet code=\"Clock.class\" width=\"200\" height=\"100\">\r\n"
                      "  <param name=\"zone\" value=\"UTC\">\r\n</applet>");
}

}  // namespace
