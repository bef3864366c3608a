// Tokens under the mouse (addresses, variables, file references), the link
// check on click, "Visit Link" and the HTML keys of an editor window.
#include "EditorFixture.h"

#include "../libs/TestHttpServer.h"
#include "editor/window/EditorLinks.h"
#include "editor/window/HelpKeyword.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QKeyEvent>
#include "app/shell/StatusLine.h"
#include <QTest>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <fstream>

namespace {

using vlrtest::EditorTest;

class LinksTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ::unsetenv("http_proxy");
        ::unsetenv("HTTP_PROXY");
        vlr::SetShellOpenHook([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
    }
    void TearDown() override {
        vlr::SetShellOpenHook({});
        EditorTest::TearDown();
    }
    // A new window holding text, with the focus in its control.
    vlr::TFrmEditor* Window(const std::string& text) {
        vlr::TFrmEditor* e = NewEditor();
        e->memo().setText(QByteArray::fromStdString(text));
        links = e->Links;
        e->memo().setFocus();
        vlr::ProcessMessages();
        return e;
    }
    // Moves the mouse onto the character at the start of `piece` (plus `offset`).
    void HoverOn(vlr::TFrmEditor* e, const std::string& piece, int offset = 1) {
        const std::string text = e->memo().engine().store().text();
        const auto at = text.find(piece);
        ASSERT_NE(at, std::string::npos) << piece;
        const QPoint p = e->memo().pointAt(velora::memo::Pos(at + std::size_t(offset))) +
                         QPoint(1, e->memo().lineHeight() / 2);
        QTest::mouseMove(e->memo().viewport(), p);
        QApplication::processEvents();
    }
    void Key(vlr::TFrmEditor* e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&e->memo(), key, mods);
    }
    // For a person to look at: the window with the hint drawn where the
    // tooltip would be (tooltips are windows of their own, so they are not in
    // the window's picture).
    void SaveShotWithHint(vlr::TFrmEditor* e, const char* file) {
        e->resize(560, 160);
        QApplication::processEvents();
        QImage shot = e->grab().toImage();
        QPainter p(&shot);
        const QString tip = QString::fromStdString(links->shownHint());
        const QRect box = p.fontMetrics().boundingRect(tip).adjusted(-4, -3, 4, 3).translated(40, 60);
        p.fillRect(box, QApplication::palette().color(QPalette::ToolTipBase));
        p.setPen(QApplication::palette().color(QPalette::ToolTipText));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        p.drawText(box, Qt::AlignCenter, tip);
        p.end();
        const QString out = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromUtf8(file));
        EXPECT_TRUE(shot.save(out));
        std::printf("screenshot: %s\n", qPrintable(out));
    }
    vlr::EditorLinks* links = nullptr;
    std::vector<std::string> opened;
};

}  // namespace

TEST(TokenClasses, TestedOnTheHotSpotText) {
    EXPECT_TRUE(vlr::IsAddressToken("HTTP://WWW.EXAMPLE.COM/"));
    EXPECT_TRUE(vlr::IsAddressToken("see ftp://files/"));
    EXPECT_FALSE(vlr::IsAddressToken("https:/x"));
    EXPECT_TRUE(vlr::IsVariableToken("<%title%>"));
    EXPECT_TRUE(vlr::IsFileReference("<&menu.hsn&>"));
    EXPECT_EQ(vlr::ReferenceName("<%title%>"), "title");
    EXPECT_EQ(vlr::ReferenceName("<&menu.hsn&>"), "menu.hsn");
    EXPECT_EQ(vlr::ReferenceName("<%"), "");
    // An address is tested first: an address inside a reference is an address.
    EXPECT_TRUE(vlr::IsAddressToken("<%http://x%>") && vlr::IsVariableToken("<%http://x%>"));
}

TEST_F(LinksTest, HoveringAnAddressOffersVisitLinkAndMovingOffTakesItBack) {
    vlr::TFrmEditor* e = Window("Go to HTTP://www.example.com/page now");
    HoverOn(e, "HTTP://");
    EXPECT_TRUE(e->VisitLink1->isEnabled());
    EXPECT_EQ(links->hint(), "Click to verify link...|");
    EXPECT_EQ(links->shownHint(), "Click to verify link...");
    EXPECT_EQ(e->memo().viewport()->cursor().shape(), Qt::PointingHandCursor);

    e->VisitLink1->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "HTTP://www.example.com/page");

    HoverOn(e, "now");
    EXPECT_FALSE(e->VisitLink1->isEnabled());
    EXPECT_EQ(links->hint(), "");
    EXPECT_FALSE(links->showHint());
    EXPECT_EQ(e->memo().viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(LinksTest, ClickingAnAddressChecksItAndTheNextHoverShowsTheResult) {
    vlrtest::TestHttpServer server;
    const std::string url = server.url("/missing");
    vlr::TFrmEditor* e = Window("x " + url + " y");
    HoverOn(e, "http://");
    QTest::mouseClick(e->memo().viewport(), Qt::LeftButton, Qt::NoModifier,
                      e->memo().pointAt(3) + QPoint(1, e->memo().lineHeight() / 2));
    vlr::ProcessMessages();  // the posted 3036
    EXPECT_EQ(server.requests().size(), 2u);  // HEAD, then GET after the 404
    EXPECT_EQ(main->Status().panelText(1).toStdString(), "Broken link (404): " + url);
    HoverOn(e, "http://", 4);
    EXPECT_EQ(links->hint().rfind("Broken: 404, checked ", 0), 0u) << links->hint();
    EXPECT_EQ(links->hint().back(), '|');
    SaveShotWithHint(e, "address_hint.png");
}

TEST_F(LinksTest, VariableHintsComeFromTheMainWindow) {
    Window("Title: <%title%> end");
    links->ReceiveHint("My Site|");
    EXPECT_EQ(links->shownHint(), "My Site");
    // A variable the main window does not know: "|" alone, nothing shown.
    links->ReceiveHint("|");
    EXPECT_TRUE(links->showHint());
    EXPECT_EQ(links->shownHint(), "");
    links->ReceiveHint("");
    EXPECT_FALSE(links->showHint());
}

TEST_F(LinksTest, AVariableTheMainWindowDoesNotKnowShowsNothing) {
    vlr::TFrmEditor* e = Window("<%nosuch%>");
    links->ReceiveHint("Stale|");
    vlr::PostMessage(e->MainWnd, 3031, 0, reinterpret_cast<vlr::LParam>(vlr::MakeRecord("nosuch").release()));
    vlr::ProcessMessages();
    EXPECT_EQ(links->hint(), "|");  // the main window's answer, 3030
    EXPECT_TRUE(links->showHint());
    EXPECT_EQ(links->shownHint(), "");
    EXPECT_TRUE(e->memo().viewport()->toolTip().isEmpty());
}

TEST_F(LinksTest, EnterKeys) {
    vlr::TFrmEditor* e = Window("abcd");
    e->memo().setSelection(2, 2);
    Key(e, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(Text(e), "ab<br>\rcd");  // then the control breaks the line
    e->memo().setText("abcd");
    e->memo().setSelection(1, 3);
    Key(e, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Text(e), "a<p>&nbsp;</p>\rd");
    // Both modifiers: not an HTML key, the control breaks the line.
    e->memo().setText("ab");
    e->memo().setSelection(1, 1);
    Key(e, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Text(e).find("<"), std::string::npos);
}

TEST_F(LinksTest, SpaceKeys) {
    vlr::TFrmEditor* e = Window("");
    Key(e, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(Text(e), "&nbsp;");
    QTest::keyClick(&e->memo(), ' ', Qt::ShiftModifier);
    QTest::keyClick(&e->memo(), ' ');
    EXPECT_EQ(Text(e), "&nbsp;  ");
}

TEST_F(LinksTest, ClipboardAndUndoKeysActOnce) {
    vlr::TFrmEditor* e = Window("");
    Type(e, "one");
    Type(e, " two");
    Key(e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(e), "one");  // one step, not two
    // Ctrl+Backspace is the control's "Delete previous word", one undo step.
    Type(e, " Stra\xC3\x9F" "e");
    Key(e, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(Text(e), "one ");
    Key(e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(e), "one Stra\xC3\x9F" "e");

    e->memo().setText("abcdef");
    e->memo().setSelection(1, 3);
    Key(e, Qt::Key_Insert, Qt::ControlModifier);  // copy "bc"
    e->memo().setSelection(3, 5);
    Key(e, Qt::Key_Delete, Qt::ShiftModifier);    // cut "de"
    EXPECT_EQ(Text(e), "abcf");  // the "f" after the caret is kept
    e->memo().setSelection(0, 0);
    const bool overwrite = e->memo().overwriteMode();
    Key(e, Qt::Key_Insert, Qt::ShiftModifier);    // paste "de"
    EXPECT_EQ(Text(e), "deabcf");
    EXPECT_EQ(e->memo().overwriteMode(), overwrite);
}

TEST_F(LinksTest, HtmlKeysAreNotTakenByMainWindowShortcuts) {
    vlr::TFrmEditor* e = Window("");
    auto claimed = [&](int key, Qt::KeyboardModifiers mods) {
        QKeyEvent override(QEvent::ShortcutOverride, key, mods);
        override.ignore();
        QApplication::sendEvent(&e->memo(), &override);
        return override.isAccepted();
    };
    EXPECT_TRUE(claimed(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_TRUE(claimed(Qt::Key_Insert, Qt::ShiftModifier));
    EXPECT_TRUE(claimed(Qt::Key_Return, Qt::ControlModifier));
    EXPECT_TRUE(claimed(Qt::Key_F1, Qt::NoModifier));
    EXPECT_FALSE(claimed(Qt::Key_S, Qt::ControlModifier));
    EXPECT_FALSE(claimed(Qt::Key_Space, Qt::ShiftModifier));
}

TEST_F(LinksTest, F1OpensTheHelpPageForTheSelectedWord) {
    std::filesystem::create_directories(appDir / "help");
    std::ofstream(appDir / "help" / "keywords.html")
        << "<nav><a href=\"index.html\">Contents</a></nav><ul>\n"
           "<li><a href=\"index.html#menus\">Animation of menus</a></li>\n"
           "<li><a href=\"index.html#documents\">Saving</a></li>\n</ul>";
    const std::string help = vlr::AppDir() + "help/";
    vlr::TFrmEditor* e = Window("Saving files");
    e->memo().setSelection(0, 6);
    Key(e, Qt::Key_F1);
    e->memo().setSelection(7, 12);
    Key(e, Qt::Key_F1, Qt::ShiftModifier);
    // Nothing selected: the word at the caret; on a blank between words, the one before it.
    e->memo().setSelection(3, 3);
    Key(e, Qt::Key_F1);
    e->memo().setSelection(6, 6);
    Key(e, Qt::Key_F1);
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0], "file://" + help + "index.html#documents");
    EXPECT_EQ(opened[1], "file://" + help + "keywords.html?q=files");  // no entry: the index names the word
    EXPECT_EQ(opened[2], "file://" + help + "index.html#documents");
    EXPECT_EQ(opened[3], "file://" + help + "index.html#documents");
    EXPECT_EQ(vlr::HelpPageFor("menus", help), "file://" + help + "index.html#menus");  // a word of an entry
    EXPECT_EQ(vlr::HelpPageFor("", help), "file://" + help + "keywords.html");
    EXPECT_EQ(Text(e), "Saving files");
}

namespace {

// The references of a page in a real window: the scheme makes each one token,
// so the control reports it whole and the handlers act on it.
class ReferencesTest : public LinksTest {
protected:
    std::vector<std::string> editorFiles() const {
        std::vector<std::string> files;
        for (auto* sub : main->MdiArea()->subWindowList())
            if (auto* w = qobject_cast<vlr::TFrmEditor*>(sub->widget()))
                files.push_back(w->FileName);
        return files;
    }
};

}  // namespace

TEST_F(ReferencesTest, HoveringAVariableShowsTheValueTheMainWindowKnows) {
    vlr::TFrmEditor* e = Window("Root: <%VLRRootDir%> and <% If x Then %> end");
    HoverOn(e, "<%VLRRootDir%>", 6);
    EXPECT_EQ(e->memo().hotSpotText().toStdString(), "<%VLRRootDir%>");
    vlr::ProcessMessages();  // 3031 to the main window, its 3030 back
    EXPECT_EQ(links->hint(), vlr::AppDir() + "|");
    EXPECT_EQ(links->shownHint(), vlr::AppDir());
    EXPECT_EQ(e->memo().viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(e->VisitLink1->isEnabled());
    SaveShotWithHint(e, "variable_hint.png");

    // Server code is no reference: moving onto it takes the hint away.
    HoverOn(e, "If x");
    vlr::ProcessMessages();
    EXPECT_EQ(e->memo().hotSpotText().toStdString(), "If");
    EXPECT_FALSE(links->showHint());
    EXPECT_EQ(e->memo().viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(ReferencesTest, DoubleClickingAFileReferenceOpensTheFileOfTheProject) {
    std::filesystem::create_directories(work / "site");
    WriteFile(path("site/site.vlr"), "[directories]\nsrc=" + path("site") + "\n");
    WriteFile(path("site/menu.hsn"), "<ul><li>Home</li></ul>");
    main->projectUnit().ParseToOpen(path("site/site.vlr"));
    vlr::TFrmEditor* e = Window("<p>\n<&menu.hsn&> <&gone.hsn&>\n</p>");
    HoverOn(e, "<&menu", 4);
    EXPECT_EQ(e->memo().hotSpotText().toStdString(), "<&menu.hsn&>");
    EXPECT_EQ(e->memo().viewport()->cursor().shape(), Qt::ArrowCursor);
    const std::string text = e->memo().engine().store().text();
    const QPoint at = e->memo().pointAt(velora::memo::Pos(text.find("<&menu") + 4)) +
                      QPoint(1, e->memo().lineHeight() / 2);
    QTest::mouseDClick(e->memo().viewport(), Qt::LeftButton, Qt::NoModifier, at);
    vlr::ProcessMessages();  // the posted 3035
    const std::vector<std::string> files = editorFiles();
    EXPECT_NE(std::find(files.begin(), files.end(), path("site/menu.hsn")), files.end());
    ASSERT_NE(vlr::FrmEditor, nullptr);
    EXPECT_EQ(Text(vlr::FrmEditor), "<ul><li>Home</li></ul>");

    // A reference to a file that is not there is reported, and nothing opens.
    main->MdiArea()->setActiveSubWindow(e->subWindow());
    HoverOn(e, "<&gone", 4);
    const QPoint gone = e->memo().pointAt(velora::memo::Pos(text.find("<&gone") + 4)) +
                        QPoint(1, e->memo().lineHeight() / 2);
    QTest::mouseDClick(e->memo().viewport(), Qt::LeftButton, Qt::NoModifier, gone);
    vlr::ProcessMessages();
    EXPECT_EQ(editorFiles().size(), files.size());
    const auto boxes = prompter->messages();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text, "Cannot find file " + path("site/gone.hsn"));
}

// The user's way to "Visit Link": a right click on the address. Opening the
// menu takes the mouse off the control (a leave event), which must not take
// the item away; the item opens the address the menu was opened on.
TEST_F(LinksTest, VisitLinkFromARealContextMenuOpensTheAddressUnderTheMenu) {
    vlr::TFrmEditor* e = Window("Go to HTTP://www.example.com/page now");
    e->resize(560, 160);
    e->show();
    HoverOn(e, "HTTP://", 4);
    const auto at = e->memo().engine().store().text().find("example");
    const QPoint p = e->memo().pointAt(velora::memo::Pos(at)) + QPoint(1, e->memo().lineHeight() / 2);
    QWidget* view = e->memo().viewport();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, p, view->mapToGlobal(p));
    QApplication::sendEvent(view, &menuEvent);
    QApplication::processEvents();
    ASSERT_TRUE(e->PopupMenu1->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view, &leave);
    QApplication::processEvents();
    ASSERT_TRUE(e->VisitLink1->isEnabled());
    QTest::mouseClick(e->PopupMenu1, Qt::LeftButton, Qt::NoModifier,
                      e->PopupMenu1->actionGeometry(e->VisitLink1).center());
    QApplication::processEvents();
    EXPECT_FALSE(e->PopupMenu1->isVisible());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "HTTP://www.example.com/page");

    // Opened over plain text, the item stays disabled and opens nothing.
    const QPoint plain = e->memo().pointAt(velora::memo::Pos(1)) + QPoint(1, e->memo().lineHeight() / 2);
    QContextMenuEvent overText(QContextMenuEvent::Mouse, plain, view->mapToGlobal(plain));
    QApplication::sendEvent(view, &overText);
    QApplication::processEvents();
    ASSERT_TRUE(e->PopupMenu1->isVisible());
    EXPECT_FALSE(e->VisitLink1->isEnabled());
    QTest::keyClick(e->PopupMenu1, Qt::Key_L);  // the item's accelerator does nothing while disabled
    QApplication::processEvents();
    e->PopupMenu1->hide();
    EXPECT_EQ(opened.size(), 1u);
}
