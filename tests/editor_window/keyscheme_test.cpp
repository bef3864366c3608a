// Key schemes in the editor window and the main window's menus through real key events: the
// Desktop scheme chosen on the Key Assignments page, its keys (Ctrl+Z, Ctrl+Y, Ctrl+A,
// Ctrl+Delete, Ctrl+/ toggle comment), typing runs undone as one step, and the undo history
// after saving with "Keep the undo history after saving" on and off.
#include "EditorFixture.h"

#include "app/commands/KeySchemeCommands.h"
#include "editor/window/CommentToggle.h"
#include "memo/engine/keys/KeyScheme.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/options/KeysPage.h"
#include "memo/widget/options/OptionsDialog.h"
#include "memo/widget/options/OptionsPage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <optional>

namespace {

using vlrtest::EditorTest;
using velora::memo::TOptionsDialog;

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;

class KeySchemeTest : public EditorTest {
protected:
    void TearDown() override {
        velora::memo::SetOptionsDialogDriver(nullptr);
        EditorTest::TearDown();
    }
    // The Desktop scheme chosen the user's way: the Scheme box on the Key Assignments page.
    void ChooseDesktop(vlr::TFrmEditor* e) {
        EditOptions(e, [](TOptionsDialog& d) {
            d.Pages->setCurrentWidget(d.KeysPage);
            d.KeysPage->Scheme->setFocus();
            QTest::keyClick(d.KeysPage->Scheme, Qt::Key_Down);
            EXPECT_EQ(d.KeysPage->Scheme->currentText(), "Desktop");
            // The Options page shows the typing runs the scheme turned on.
            EXPECT_TRUE(d.OptionsPage->aidBox(velora::memo::smaTypingRuns)->isChecked());
        });
    }
    void Focus(vlr::TFrmEditor* e) {
        main->activateWindow();
        main->MdiArea()->setActiveSubWindow(e->subWindow());
        e->memo().setFocus();
        vlr::ProcessMessages();
    }
    void Key(vlr::TFrmEditor* e, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(&e->memo(), k, m);
    }
    std::optional<vlr::KeySchemeChoice> Recorded() const {
        return vlr::ReadKeySchemeChoice((appDir / "preferences.dat").string());
    }
    QList<QKeySequence> Keys(const char* action) const { return main->action(action)->shortcuts(); }
};

QKeySequence Seq(const char* text) { return QKeySequence(QString::fromUtf8(text)); }

TEST_F(KeySchemeTest, TheClassicSchemeKeepsTheTablesKeys) {
    vlr::TFrmEditor* e = NewEditor();
    EXPECT_EQ(Keys("Redo1"), QList<QKeySequence>{});
    EXPECT_EQ(Keys("Delete1"), QList<QKeySequence>{Seq("Ctrl+Del")});
    EXPECT_EQ(Keys("Hyperlink1"), QList<QKeySequence>{Seq("Ctrl+A")});
    EXPECT_TRUE(e->ToggleComment1->shortcut().isEmpty());
    e->memo().setText("one\rtwo");
    Focus(e);
    e->memo().setSelection(5, 5);
    Key(e, Qt::Key_Y, Ctrl);  // the classic table: delete the line
    EXPECT_EQ(Text(e), "one\r");
    Key(e, Qt::Key_Z, Ctrl);
    EXPECT_EQ(Text(e), "one\rtwo");
    Key(e, Qt::Key_Z, Ctrl | Shift);
    EXPECT_EQ(Text(e), "one\r");
    e->memo().setText("one two");
    e->memo().setSelection(7, 7);
    Key(e, Qt::Key_Backspace, Ctrl);  // the classic table too: delete the previous word
    EXPECT_EQ(Text(e), "one ");
}

TEST_F(KeySchemeTest, DesktopChosenOnTheKeysPageGivesItsKeysToEditorsAndMenus) {
    vlr::TFrmEditor* e = NewEditor();
    vlr::TFrmEditor* other = NewEditor();
    ChooseDesktop(e);
    EXPECT_EQ(Recorded(), vlr::KeySchemeChoice::Desktop);
    // The menus show the scheme's keys.
    EXPECT_EQ(Keys("Redo1"), (QList<QKeySequence>{Seq("Ctrl+Y"), Seq("Ctrl+Shift+Z")}));
    EXPECT_EQ(Keys("SelectAll1"), QList<QKeySequence>{Seq("Ctrl+A")});
    EXPECT_EQ(Keys("New1"), QList<QKeySequence>{Seq("Ctrl+N")});
    EXPECT_EQ(Keys("Open1"), QList<QKeySequence>{Seq("Ctrl+O")});
    EXPECT_EQ(Keys("Close1"), QList<QKeySequence>{Seq("Ctrl+W")});
    EXPECT_EQ(Keys("Exit1"), QList<QKeySequence>{Seq("Ctrl+Q")});
    EXPECT_EQ(Keys("GoToLine1"), QList<QKeySequence>{Seq("Ctrl+G")});
    EXPECT_EQ(Keys("Hyperlink1"), QList<QKeySequence>{Seq("Ctrl+Shift+L")});
    EXPECT_EQ(Keys("Image1"), QList<QKeySequence>{Seq("Ctrl+Shift+I")});
    EXPECT_TRUE(Keys("Delete1").isEmpty());
    EXPECT_EQ(Keys("Save1"), QList<QKeySequence>{Seq("Ctrl+S")});
    for (vlr::TFrmEditor* w : {e, other}) {
        EXPECT_EQ(w->ToggleComment1->shortcut(), Seq("Ctrl+/"));
        EXPECT_EQ(w->Redo1->shortcut(), Seq("Ctrl+Y"));
        EXPECT_TRUE(w->memo().engine().hasAid(velora::memo::smaTypingRuns));
        EXPECT_EQ(vlr::KeySchemeOf(w->SyntaxMemoParser1->Tables().keys), vlr::TKeyScheme::Desktop);
    }
    // A window opened later follows the recorded scheme.
    vlr::TFrmEditor* later = NewEditor();
    EXPECT_EQ(later->ToggleComment1->shortcut(), Seq("Ctrl+/"));

    // The keys, typed at the start of the new page (it holds the new-document template).
    const std::string page = Text(later);
    Focus(later);
    later->memo().setSelection(0, 0);
    QTest::keyClicks(&later->memo(), "hello world");
    Key(later, Qt::Key_Z, Ctrl);  // one typing run: "world"
    EXPECT_EQ(Text(later), "hello " + page);
    Key(later, Qt::Key_Y, Ctrl);  // redo
    EXPECT_EQ(Text(later), "hello world" + page);
    Key(later, Qt::Key_Z, Ctrl);
    Key(later, Qt::Key_Z, Ctrl | Shift);  // redo too
    EXPECT_EQ(Text(later), "hello world" + page);
    later->memo().setSelection(0, 0);
    Key(later, Qt::Key_Delete, Ctrl);  // deletes the next word
    EXPECT_EQ(Text(later), "world" + page);
    Key(later, Qt::Key_Z, Ctrl);
    later->memo().setSelection(11, 11);
    Key(later, Qt::Key_Backspace, Ctrl);  // deletes the previous word
    EXPECT_EQ(Text(later), "hello " + page);
    Key(later, Qt::Key_Z, Ctrl);
    EXPECT_EQ(Text(later), "hello world" + page);
    Key(later, Qt::Key_A, Ctrl);  // select all
    const velora::memo::Selection all = later->memo().selection();
    EXPECT_EQ(all.start(), 0);
    EXPECT_EQ(all.end(), later->memo().engine().store().length());

    // A menu's key typed in the editor: Ctrl+W closes the window (the window's own system menu
    // does not claim the key as well), in any window.
    const int windows = int(main->MdiArea()->subWindowList().size());
    later->memo().setModified(false);
    Key(later, Qt::Key_W, Ctrl);
    vlr::ProcessMessages();
    EXPECT_EQ(int(main->MdiArea()->subWindowList().size()), windows - 1);
    Focus(other);
    Key(other, Qt::Key_W, Ctrl);
    vlr::ProcessMessages();
    EXPECT_EQ(int(main->MdiArea()->subWindowList().size()), windows - 2);
}

TEST_F(KeySchemeTest, ChoosingClassicAgainRestoresTheClassicKeys) {
    vlr::TFrmEditor* e = NewEditor();
    // The window's own menu holds Ctrl+W only while the menu bar does not.
    const auto ownKeys = [e] {
        QList<QKeySequence> keys;
        for (const QAction* a : e->subWindow()->systemMenu()->actions())
            keys += a->shortcuts();
        return keys;
    };
    const QList<QKeySequence> before = ownKeys();
    ChooseDesktop(e);
    EXPECT_FALSE(ownKeys().contains(Seq("Ctrl+W")));
    EditOptions(e, [](TOptionsDialog& d) {
        d.KeysPage->Scheme->setFocus();
        QTest::keyClick(d.KeysPage->Scheme, Qt::Key_Up);
        EXPECT_EQ(d.KeysPage->Scheme->currentText(), "Classic");
        EXPECT_FALSE(d.OptionsPage->aidBox(velora::memo::smaTypingRuns)->isChecked());
    });
    EXPECT_EQ(Recorded(), vlr::KeySchemeChoice::Classic);
    EXPECT_TRUE(Keys("Redo1").isEmpty());
    EXPECT_EQ(Keys("Hyperlink1"), QList<QKeySequence>{Seq("Ctrl+A")});
    EXPECT_TRUE(e->ToggleComment1->shortcut().isEmpty());
    EXPECT_FALSE(e->memo().engine().hasAid(velora::memo::smaTypingRuns));
    EXPECT_EQ(ownKeys(), before);
}

TEST_F(KeySchemeTest, CtrlSlashTogglesTheCommentFormOfTheLanguageThere) {
    vlr::TFrmEditor* e = NewEditor();
    ChooseDesktop(e);
    const std::string page =
        "<p>text</p>\r<style>\rp { color: red; }\r</style>\r<script>\rlet a = 1;\r  f(a);\r</script>";
    e->memo().setText(QByteArray::fromStdString(page));
    while (e->memo().engine().HighlightSlice()) {
    }
    Focus(e);
    // A caret keeps its place in the text (typing goes on there); a selection covers the lines.
    struct Case {
        const char* name;
        velora::memo::Pos from, to;
        const char* expected;
        velora::memo::Pos commentedFrom, commentedTo, backFrom, backTo;
    };
    const Case cases[] = {
        {"HTML", 2, 2,
         "<!-- <p>text</p> -->\r<style>\rp { color: red; }\r</style>\r<script>\rlet a = 1;\r  f(a);\r</script>", 7, 7, 2,
         2},
        {"CSS", 22, 22,
         "<p>text</p>\r<style>\r/* p { color: red; } */\r</style>\r<script>\rlet a = 1;\r  f(a);\r</script>", 25, 25,
         22, 22},
        {"JavaScript, two lines", 57, 68,
         "<p>text</p>\r<style>\rp { color: red; }\r</style>\r<script>\r// let a = 1;\r  // f(a);\r</script>", 56, 80,
         56, 74},
    };
    const auto selected = [e] {
        const velora::memo::Selection s = e->memo().selection();
        return std::pair(s.start(), s.end());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e->memo().setSelection(c.from, c.to);
        Key(e, Qt::Key_Slash, Ctrl);
        EXPECT_EQ(Text(e), c.expected);
        EXPECT_EQ(selected(), std::pair(c.commentedFrom, c.commentedTo));
        Key(e, Qt::Key_Slash, Ctrl);  // and off again
        EXPECT_EQ(Text(e), page);
        EXPECT_EQ(selected(), std::pair(c.backFrom, c.backTo));
        Key(e, Qt::Key_Z, Ctrl);  // each toggle is one undo step
        EXPECT_EQ(Text(e), c.expected);
        Key(e, Qt::Key_Z, Ctrl);
        EXPECT_EQ(Text(e), page);
    }
    // Typing right after the toggle goes where the caret was.
    e->memo().setSelection(5, 5);
    Key(e, Qt::Key_Slash, Ctrl);
    QTest::keyClicks(&e->memo(), "X");
    EXPECT_EQ(Text(e).substr(0, 21), "<!-- <p>teXxt</p> -->");
}

TEST_F(KeySchemeTest, SavingEmptiesTheUndoHistoryUnlessItIsKept) {
    WriteFile(path("page.hts"), "<p>x</p>\n");
    vlr::TFrmEditor* e = EditorFor(path("page.hts"));
    ASSERT_NE(e, nullptr);
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "emptied");
        EditOptions(e, [keep](TOptionsDialog& d) {
            QCheckBox* box = d.OptionsPage->aidBox(velora::memo::smaKeepUndoAfterSave);
            if (box->isChecked() != keep)
                QTest::mouseClick(box, Qt::LeftButton);
        });
        EXPECT_EQ(e->memo().engine().hasAid(velora::memo::smaKeepUndoAfterSave), keep);
        Focus(e);
        e->memo().setSelection(0, 0);
        QTest::keyClicks(&e->memo(), "a");
        Key(e, Qt::Key_S, Ctrl);
        EXPECT_FALSE(e->memo().modified());
        EXPECT_EQ(e->memo().canUndo(), keep);
        if (keep) {
            Key(e, Qt::Key_Z, Ctrl);
            EXPECT_TRUE(e->memo().modified());  // the saved file has the second "a"
            EXPECT_EQ(Text(e), "a<p>x</p>\r");
            Key(e, Qt::Key_Z, Ctrl | Shift);
            EXPECT_FALSE(e->memo().modified());
        }
    }
}

TEST(CommentToggle, FormsAndLines) {
    using vlr::CommentForm;
    EXPECT_EQ(vlr::ToggleCommentText("  <b>x</b>  ", CommentForm::Html), "  <!-- <b>x</b> -->  ");
    EXPECT_EQ(vlr::ToggleCommentText("  <!-- <b>x</b> -->  ", CommentForm::Html), "  <b>x</b>  ");
    EXPECT_EQ(vlr::ToggleCommentText("<!--x-->", CommentForm::Html), "x");
    EXPECT_EQ(vlr::ToggleCommentText("a {}\rb {}", CommentForm::Css), "/* a {}\rb {} */");
    EXPECT_EQ(vlr::ToggleCommentText("/* a {} */", CommentForm::Css), "a {}");
    // Script lines: blank lines stay, each line keeps its indentation.
    EXPECT_EQ(vlr::ToggleCommentText("x();\r\r  y();", CommentForm::Script), "// x();\r\r  // y();");
    EXPECT_EQ(vlr::ToggleCommentText("// x();\r\r  //y();", CommentForm::Script), "x();\r\r  y();");
    // Only when every line is commented are the comments taken off.
    EXPECT_EQ(vlr::ToggleCommentText("// x();\ry();", CommentForm::Script), "// // x();\r// y();");
    EXPECT_EQ(vlr::ToggleCommentText("   ", CommentForm::Html), "   ");
    // Offsets through a toggle: text keeps its place, the caret at the start goes after an
    // opening mark and stays before a closing one, inside a removed mark it goes where it was.
    const auto on = vlr::ToggleComment("  <b>x</b>", CommentForm::Html);
    EXPECT_EQ(vlr::MapThroughComment(0, on.edits), 0u);
    EXPECT_EQ(vlr::MapThroughComment(2, on.edits), 7u);
    EXPECT_EQ(vlr::MapThroughComment(4, on.edits), 9u);
    EXPECT_EQ(vlr::MapThroughComment(10, on.edits), 15u);
    const auto off = vlr::ToggleComment("<!-- <b>x</b> -->", CommentForm::Html);
    EXPECT_EQ(vlr::MapThroughComment(2, off.edits), 0u);
    EXPECT_EQ(vlr::MapThroughComment(6, off.edits), 1u);
    EXPECT_EQ(vlr::MapThroughComment(15, off.edits), 8u);
    const auto lines = vlr::ToggleComment("a;\r  // b;", CommentForm::Script);
    EXPECT_EQ(lines.text, "// a;\r  // // b;");
    EXPECT_EQ(vlr::MapThroughComment(4, lines.edits), 7u);
    EXPECT_EQ(vlr::CommentFormOf(119), CommentForm::Css);     // a CSS property name
    EXPECT_EQ(vlr::CommentFormOf(30), CommentForm::Script);   // a JavaScript keyword
    EXPECT_EQ(vlr::CommentFormOf(21), CommentForm::Html);     // an element name
}

}  // namespace
