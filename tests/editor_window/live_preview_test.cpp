// The live preview beside the source, on the example site's own project file
// (its folders stored relative to it): the page built from the unsaved text,
// changed in place as the user types, tied to the source both ways, with
// width presets and build problems shown with their file and line.
#include "EditorFixture.h"

#include "editor/window/LivePreview.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

class LivePreviewTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        fs::copy(fs::path(VELORA_SOURCE_DIR) / "examples/site", work / "site", fs::copy_options::recursive);
        main->projectUnit().ParseToOpen((work / "site/site.vlr").string());
        page = EditorFor((work / "site/src/index.hts").string());
        ASSERT_NE(page, nullptr);
        main->activateWindow();
        QApplication::setActiveWindow(main.get());
        page->memo().setFocus();
        // The live preview's own key.
        QTest::keyClick(&page->memo(), Qt::Key_F12);
        pane = page->livePreview();
        ASSERT_NE(pane, nullptr);
        ASSERT_TRUE(pane->isVisible());
        view = qobject_cast<QWebEngineView*>(pane->Browser());
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(WaitShown());
    }
    void TearDown() override {
        QDir::setCurrent(QDir::tempPath());
        EditorTest::TearDown();
    }

    // Waits for the next change to be painted.
    bool WaitShown() {
        QSignalSpy spy(pane, &vlr::LivePreviewPane::Shown);
        return spy.wait(30000);
    }
    QVariant Eval(const QString& script, quint32 world = QWebEngineScript::MainWorld) {
        QVariant result;
        bool done = false;
        view->page()->runJavaScript(script, world, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        QElapsedTimer timer;
        timer.start();
        while (!done && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return result;
    }
    bool WaitFor(const QString& script, const QVariant& expected) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            if (Eval(script) == expected)
                return true;
            QTest::qWait(50);
        }
        return false;
    }
    // The element the preview marks ("tag: text"), once it starts with `prefix`
    // or after ten seconds.
    std::string MarkedOnceItStartsWith(const QString& prefix) {
        QElapsedTimer timer;
        timer.start();
        QString marked;
        while (timer.elapsed() < 10000 &&
               !(marked = Eval(QStringLiteral("__veloraLive.marked()"), QWebEngineScript::ApplicationWorld).toString())
                    .startsWith(prefix))
            QTest::qWait(50);
        return marked.toStdString();
    }
    void CaretToLine(int line) {
        const auto& store = page->memo().engine().store();
        const velora::memo::Pos p = store.lineStart(line - 1);
        page->memo().setSelection(p, p);
    }
    void TypeKeys(const QString& text) { QTest::keyClicks(&page->memo(), text); }

    vlr::TFrmEditor* page = nullptr;
    vlr::LivePreviewPane* pane = nullptr;
    QWebEngineView* view = nullptr;
};

TEST_F(LivePreviewTest, ShowsTheBuiltPageAndFollowsTypingInPlace) {
    // Includes and variables expanded; the site's style sheet found beside the page.
    EXPECT_EQ(Eval(QStringLiteral("document.querySelector('header h1').textContent")), QVariant("Hillside Walkers"));
    EXPECT_TRUE(WaitFor(QStringLiteral("getComputedStyle(document.querySelector('header')).display != ''"), true));
    // The preview's script lives in a world of its own.
    EXPECT_EQ(Eval(QStringLiteral("typeof window.__veloraLive")), QVariant("undefined"));
    EXPECT_EQ(Eval(QStringLiteral("typeof window.__veloraLive"), QWebEngineScript::ApplicationWorld),
              QVariant("object"));

    // What the user typed into a form, and the node itself, survive an edit elsewhere.
    CaretToLine(12);
    TypeKeys(QStringLiteral("<input id=q>"));
    ASSERT_TRUE(WaitFor(QStringLiteral("!!document.getElementById('q')"), true));
    Eval(QStringLiteral("var q = document.getElementById('q'); q.value = 'typed'; q.keep = 7; true"));
    CaretToLine(8);
    QTest::keyClick(&page->memo(), Qt::Key_End);
    TypeKeys(QStringLiteral(" and hello"));
    ASSERT_TRUE(WaitFor(QStringLiteral("document.querySelector('h2').nextSibling.textContent"), " and hello\n"));
    EXPECT_EQ(Eval(QStringLiteral("document.getElementById('q').value + document.getElementById('q').keep")),
              QVariant("typed7"));
    // After those changes the page still knows where its later elements came from.
    CaretToLine(11);
    QTest::keyClick(&page->memo(), Qt::Key_Right);
    EXPECT_EQ(MarkedOnceItStartsWith(QStringLiteral("p: Read about")).rfind("p: Read about", 0), 0u);
}

TEST_F(LivePreviewTest, CaretMarksItsElementAndAClickOpensTheSourceLine) {
    // The caret on the heading's line marks the heading.
    CaretToLine(8);
    QTest::keyClick(&page->memo(), Qt::Key_Right);
    EXPECT_TRUE(WaitFor(QStringLiteral("1"), 1));
    EXPECT_EQ(MarkedOnceItStartsWith(QStringLiteral("h2: Welcome")), "h2: Welcome");

    // The caret on an include's line marks the first element the include shows.
    CaretToLine(4);
    EXPECT_EQ(MarkedOnceItStartsWith(QStringLiteral("header:")).rfind("header:", 0), 0u);

    // A real click on the paragraph puts the caret on its line in this page.
    auto clickOn = [&](const char* selector) {
        const QVariantList box = Eval(QStringLiteral("var t = document.querySelector('%1'); t.scrollIntoView({block: 'center'});"
                                                     "var r = t.getBoundingClientRect();"
                                                     "[r.left + 4, r.top + r.height / 2]")
                                          .arg(QLatin1String(selector)))
                                     .toList();
        ASSERT_EQ(box.size(), 2);
        QWidget* target = view->focusProxy() ? view->focusProxy() : view;
        const QPoint at(int(box[0].toDouble() * view->zoomFactor()), int(box[1].toDouble() * view->zoomFactor()));
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
    };
    clickOn("main p");
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000 && page->memo().caretLine() != 9)
        QTest::qWait(50);
    EXPECT_EQ(page->memo().caretLine(), 9);

    // A click on the site's name, which an include made, opens the include at its line.
    clickOn("header h1");
    timer.restart();
    vlr::TFrmEditor* include = nullptr;
    while (timer.elapsed() < 10000 && !include) {
        QTest::qWait(50);
        for (vlr::TFrmEditor* e : main->findChildren<vlr::TFrmEditor*>())
            if (fs::path(e->FileName).filename() == "banner.inc")
                include = e;
    }
    ASSERT_NE(include, nullptr);
    EXPECT_EQ(include->memo().caretLine(), 4);
    // A click on a link does not take the pane away from the page.
    clickOn("nav a[href=\"about.html\"]");
    QTest::qWait(500);
    EXPECT_TRUE(Eval(QStringLiteral("location.pathname")).toString().endsWith(QLatin1String("/index.html")));
}

TEST_F(LivePreviewTest, BuildProblemsShowWithTheirLineAndTheLastPageStays) {
    CaretToLine(13);
    TypeKeys(QStringLiteral("<&parts/missing.inc&>"));
    QTest::keyClick(&page->memo(), Qt::Key_Return);
    auto* problems = pane->findChild<QLabel*>(QStringLiteral("LivePreviewProblems"));
    ASSERT_NE(problems, nullptr);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000 && problems->isHidden())
        QTest::qWait(20);
    ASSERT_FALSE(problems->isHidden());
    EXPECT_NE(pane->ProblemText().indexOf(QStringLiteral("src/index.hts:13: ")), -1) << pane->ProblemText().toStdString();
    // The page shown before is still there, not a broken one.
    EXPECT_EQ(Eval(QStringLiteral("document.querySelector('h2').textContent")), QVariant("Welcome"));
    // The line deleted, the message goes.
    CaretToLine(13);
    QTest::keyClick(&page->memo(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&page->memo(), Qt::Key_Delete);
    timer.restart();
    while (timer.elapsed() < 5000 && !problems->isHidden())
        QTest::qWait(20);
    EXPECT_TRUE(problems->isHidden());
    EXPECT_EQ(page->memo().engine().store().text().find("missing"), std::string::npos);
}

TEST_F(LivePreviewTest, WidthPresetsLayThePageOutAtTheirWidth) {
    auto* widths = pane->findChild<QComboBox*>(QStringLiteral("LivePreviewWidth"));
    ASSERT_NE(widths, nullptr);
    widths->setFocus();
    QTest::keyClick(widths, Qt::Key_Down);  // Tablet
    QTest::keyClick(widths, Qt::Key_Down);  // Phone
    EXPECT_EQ(pane->CurrentWidth(), vlr::LivePreviewPane::Width::Phone);
    EXPECT_TRUE(WaitFor(QStringLiteral("document.documentElement.clientWidth <= 375 && innerWidth >= 360"), true));
    auto* zoom = pane->findChild<QComboBox*>(QStringLiteral("LivePreviewZoom"));
    ASSERT_NE(zoom, nullptr);
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Down);  // 110 %
    EXPECT_EQ(pane->Zoom(), 110);
    // Zoomed, the phone's page is still laid out at its own width.
    EXPECT_TRUE(WaitFor(QStringLiteral("document.documentElement.clientWidth <= 375 && innerWidth >= 360"), true));
    // F12 again closes the pane.
    page->memo().setFocus();
    QTest::keyClick(&page->memo(), Qt::Key_F12);
    EXPECT_FALSE(pane->isVisible());
}

}  // namespace
}  // namespace vlrtest
