// The dark appearance: a dark desktop palette gives new editor windows the scheme's dark
// styles and dark control colours; the Highlighting page's Appearance box chooses Light or
// Dark whatever the desktop, and its choice is kept with the settings. The test leaves a
// screenshot of the main window in the dark appearance (dark-appearance.png) in its working
// folder.
#include "EditorFixture.h"

#include "memo/engine/scheme/Appearance.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/options/HighlightPage.h"
#include "memo/widget/options/OptionsDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QPalette>
#include <QPixmap>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

namespace {

using vlrtest::EditorTest;
using velora::memo::TOptionsDialog;

constexpr std::uint32_t kDarkBack = 0x1E1E1E, kDarkTag = 0xD69C56, kLightTag = 0x000080;  // 0x00BBGGRR

QPalette DarkDesktop() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2d, 0x2d, 0x2d));
    p.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    p.setColor(QPalette::ButtonText, QColor(0xe0, 0xe0, 0xe0));
    p.setColor(QPalette::Highlight, QColor(0x26, 0x4f, 0x78));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    return p;
}

class DarkAppearanceTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        light_ = QApplication::palette();
    }
    void TearDown() override {
        velora::memo::SetOptionsDialogDriver(nullptr);
        QApplication::setPalette(light_);
        vlr::SetDesktopDark(false);
        EditorTest::TearDown();
    }
    // Moves the Appearance box of the Highlighting page by key presses, then OK.
    void ChooseAppearance(vlr::TFrmEditor* e, const char* name) {
        EditOptions(e, [name](TOptionsDialog& d) {
            QComboBox* box = d.HighlightPage->Appearance;
            ASSERT_TRUE(box->isEnabled());
            box->setFocus();
            const int want = box->findText(name);
            while (box->currentIndex() != want)
                QTest::keyClick(box, box->currentIndex() < want ? Qt::Key_Down : Qt::Key_Up);
        });
    }
    // The element name of "<html>".
    static velora::memo::Pos TagAt(vlr::TFrmEditor* e) {
        return velora::memo::Pos(e->memo().engine().store().text(0, 40).find("<html")) + 1;
    }
    static void Highlight(vlr::TFrmEditor* e) {
        while (e->memo().engine().HighlightSlice()) {
        }
    }
    QPalette light_;
};

const char* const kPage =
    "<!-- A dark page -->\r<html>\r<head>\r<title>Example</title>\r<style>\rp { color: #333; }\r</style>\r"
    "</head>\r<body>\r<p class=\"note\">Text &amp; more</p>\r<a href=\"http://www.example.com/\">A link</a>\r"
    "<script>\rlet n = 42; // the answer\r</script>\r</body>\r</html>\r";

TEST_F(DarkAppearanceTest, ADarkDesktopGivesNewEditorsTheDarkStyles) {
    QApplication::setPalette(DarkDesktop());
    vlr::TFrmEditor* e = NewEditor();
    e->memo().setText(kPage);
    Highlight(e);
    const auto& engine = e->memo().engine();
    EXPECT_EQ(engine.defBackColor, kDarkBack);
    EXPECT_EQ(engine.styleAt(TagAt(e)).foreground, kDarkTag);
    EXPECT_EQ(engine.gutterColor, vlr::kDarkGutter);
    main->resize(1000, 640);
    main->MdiArea()->setActiveSubWindow(e->subWindow());
    e->subWindow()->showMaximized();
    vlr::ProcessMessages();
    EXPECT_TRUE(main->grab().save("dark-appearance.png"));

    // Light on the Highlighting page wins over the desktop, for this window and the next.
    ChooseAppearance(e, "Light");
    EXPECT_EQ(engine.defBackColor, 0xFFFFFFu);
    EXPECT_EQ(engine.styleAt(TagAt(e)).foreground, kLightTag);
    vlr::TFrmEditor* next = NewEditor();
    EXPECT_EQ(next->memo().engine().defBackColor, 0xFFFFFFu);
}

TEST_F(DarkAppearanceTest, AnOpenEditorFollowsTheDesktopTurningDarkAndLightAgain) {
    vlr::TFrmEditor* e = NewEditor();
    e->memo().setText(kPage);
    Highlight(e);
    const auto& engine = e->memo().engine();
    const auto gutter = engine.gutterColor, selection = engine.selTextBack;
    ASSERT_EQ(engine.defBackColor, 0xFFFFFFu);
    QApplication::setPalette(DarkDesktop());
    vlr::ProcessMessages();
    EXPECT_EQ(engine.defBackColor, kDarkBack);
    EXPECT_EQ(engine.styleAt(TagAt(e)).foreground, kDarkTag);
    EXPECT_EQ(engine.gutterColor, vlr::kDarkGutter);
    EXPECT_EQ(engine.selTextBack, vlr::kDarkSelBack);
    QApplication::setPalette(light_);
    vlr::ProcessMessages();
    EXPECT_EQ(engine.defBackColor, 0xFFFFFFu);
    EXPECT_EQ(engine.styleAt(TagAt(e)).foreground, kLightTag);
    EXPECT_EQ(engine.gutterColor, gutter);
    EXPECT_EQ(engine.selTextBack, selection);
}

TEST_F(DarkAppearanceTest, DarkChosenOnALightDesktopIsKeptWithTheSettings) {
    vlr::TFrmEditor* e = NewEditor();
    e->memo().setText(kPage);
    Highlight(e);
    EXPECT_EQ(e->memo().engine().defBackColor, 0xFFFFFFu);
    EXPECT_EQ(e->memo().engine().styleAt(TagAt(e)).foreground, kLightTag);
    ChooseAppearance(e, "Dark");
    EXPECT_EQ(e->memo().engine().defBackColor, kDarkBack);
    EXPECT_EQ(e->memo().engine().styleAt(TagAt(e)).foreground, kDarkTag);
    // Saved with the settings: a later window (as after a restart) draws dark too.
    vlr::TFrmEditor* later = NewEditor();
    later->memo().setText(kPage);
    Highlight(later);
    EXPECT_EQ(later->memo().engine().styleAt(TagAt(later)).foreground, kDarkTag);
    EXPECT_EQ(vlr::AppearanceOf(later->SyntaxMemoParser1->Tables().settings), vlr::TAppearance::Dark);
    // Back to following the (light) desktop.
    ChooseAppearance(later, "Follow the desktop");
    EXPECT_EQ(later->memo().engine().defBackColor, 0xFFFFFFu);
}

}  // namespace
