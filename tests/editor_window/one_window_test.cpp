// One window per file, and files changed by other programs while they are
// open: the example site's pages opened the ways a user opens them.
#include "EditorFixture.h"
#include "app/window/WindowUnit.h"

#include "editor/window/DocumentWatch.h"
#include "platform/Record.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <fstream>

namespace {

namespace fs = std::filesystem;
using vlrtest::EditorTest;

class OneWindowTest : public EditorTest {
protected:
    // The example site, copied: its project file keeps its relative folders.
    std::string CopyExampleSite() {
        const fs::path site = work / "site";
        fs::copy(fs::path(VELORA_SOURCE_DIR) / "examples/site", site, fs::copy_options::recursive);
        return (site / "site.vlr").string();
    }
    std::vector<vlr::TFrmEditor*> Editors() const {
        std::vector<vlr::TFrmEditor*> all;
        for (QMdiSubWindow* sub : main->MdiArea()->subWindowList())
            if (auto* e = qobject_cast<vlr::TFrmEditor*>(sub->widget()))
                all.push_back(e);
        return all;
    }
    vlr::TFrmEditor* Active() const {
        QMdiSubWindow* sub = main->MdiArea()->activeSubWindow();
        return sub ? qobject_cast<vlr::TFrmEditor*>(sub->widget()) : nullptr;
    }
    void DoubleClickOn(vlr::TFrmEditor* e, const std::string& piece) {
        const std::string text = e->memo().engine().store().text();
        const auto at = text.find(piece);
        ASSERT_NE(at, std::string::npos) << piece;
        const QPoint p = e->memo().pointAt(velora::memo::Pos(at + 4)) + QPoint(1, e->memo().lineHeight() / 2);
        QTest::mouseMove(e->memo().viewport(), p);
        QTest::mouseDClick(e->memo().viewport(), Qt::LeftButton, Qt::NoModifier, p);
        vlr::ProcessMessages();  // the posted request to open the file
    }
};

// Another program writing the file the way editors do: a new file renamed
// over the old one.
void WriteFromOutside(const std::string& file, const std::string& bytes) {
    const std::string temporary = file + ".other~";
    std::ofstream(temporary, std::ios::binary) << bytes;
    fs::rename(temporary, file);
}

bool Asked(const vlr::ScriptedPrompter& prompter, const char* pattern, const std::string& file) {
    std::string text = pattern;
    text.replace(text.find("%s"), 2, file);
    for (const vlr::RecordedPrompt& p : prompter.messages())
        if (p.text == text && p.buttons == unsigned(vlr::BtnYesNo))
            return true;
    return false;
}

// Long enough for a notice of the file system to arrive and settle.
void LetNoticesArrive() { QTest::qWait(vlr::DocumentWatch::kSettleMs * 3); }

}  // namespace

TEST_F(OneWindowTest, AFileOpenedAgainAnyWayActivatesItsWindow) {
    const std::string project = CopyExampleSite();
    main->projectUnit().ParseToOpen(project);
    const std::string index = (work / "site/src/index.hts").string();
    // A snippet of the site's parts, referenced from the page.
    WriteFile(path("site/src/parts/menu.hsn"), "<ul><li>Home</li></ul>\n");
    WriteFile(index, "<&parts/menu.hsn&>\n" + ReadFile(index));
    main->projectUnit().ParseToOpen(index);
    ASSERT_EQ(Editors().size(), 1u);
    vlr::TFrmEditor* page = Editors()[0];

    // A double-clicked include reference (message 3035) opens the part once.
    DoubleClickOn(page, "<&parts/menu.hsn");
    ASSERT_EQ(Editors().size(), 2u);
    vlr::TFrmEditor* part = Active();
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(fs::path(part->FileName).filename(), "menu.hsn");
    main->MdiArea()->setActiveSubWindow(page->subWindow());
    ASSERT_EQ(Active(), page);
    QTest::keyClicks(&part->memo(), "edited ");
    DoubleClickOn(page, "<&parts/menu.hsn");
    EXPECT_EQ(Editors().size(), 2u);
    EXPECT_EQ(Active(), part);
    EXPECT_TRUE(part->memo().modified());  // the edited text is still there

    // The same page under other names: a detour through its folder, a
    // relative name from the working folder, a link to it.
    part->subWindow()->showMinimized();
    fs::current_path(work / "site");
    fs::create_symlink(index, work / "link.hts");
    for (const std::string& name :
         {(work / "site/src/../src/index.hts").string(), std::string("src/index.hts"), (work / "link.hts").string()}) {
        main->MdiArea()->setActiveSubWindow(part->subWindow());
        main->projectUnit().ParseToOpen(name);
        EXPECT_EQ(Editors().size(), 2u) << name;
        EXPECT_EQ(Active(), page) << name;
    }
    // A minimised window comes back when its file is opened.
    main->projectUnit().ParseToOpen(part->FileName);
    EXPECT_EQ(Active(), part);
    EXPECT_FALSE(part->subWindow()->isMinimized());
    EXPECT_TRUE(main->editorUnit().OpenEditorAtLine(index, 3));
    EXPECT_EQ(Active(), page);
    EXPECT_EQ(page->memo().caretLine(), 3);
    EXPECT_EQ(Editors().size(), 2u);
}

TEST_F(OneWindowTest, AnUnchangedWindowOffersToReloadAFileChangedElsewhere) {
    WriteFile(path("page.hts"), "<p>first</p>\n");
    vlr::TFrmEditor* e = EditorFor(path("page.hts"));
    prompter->Clear();

    prompter->QueueAnswer(vlr::ModalResult::Yes);
    WriteFromOutside(path("page.hts"), "<p>second</p>\n<p>more</p>\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompter->messages().empty(); }, 3000));
    LetNoticesArrive();
    ASSERT_EQ(prompter->messages().size(), 1u);  // one question for one change
    EXPECT_TRUE(Asked(*prompter, vlr::DocumentWatch::kReloadQuestion, path("page.hts")));
    EXPECT_EQ(Text(e), "<p>second</p>\r<p>more</p>\r");
    EXPECT_FALSE(e->memo().modified());
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "");

    // Written in place this time, and the user keeps the window's text.
    prompter->Clear();
    prompter->QueueAnswer(vlr::ModalResult::No);
    std::ofstream(path("page.hts"), std::ios::binary | std::ios::trunc) << "<p>third</p>\n";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompter->messages().empty(); }, 3000));
    EXPECT_EQ(Text(e), "<p>second</p>\r<p>more</p>\r");
    // Not asked again at each later change; the save asks, and No keeps the file.
    WriteFromOutside(path("page.hts"), "<p>fourth</p>\n");
    LetNoticesArrive();
    EXPECT_EQ(prompter->messages().size(), 1u);
    prompter->QueueAnswer(vlr::ModalResult::No);
    main->windowUnit().SaveClick();
    EXPECT_TRUE(Asked(*prompter, vlr::DocumentWatch::kOverwriteQuestion, path("page.hts")));
    EXPECT_EQ(ReadFile(path("page.hts")), "<p>fourth</p>\n");
}

TEST_F(OneWindowTest, AChangedWindowAsksBeforeItsSaveOverwritesNewerText) {
    WriteFile(path("page.hts"), "<p>first</p>\n");
    vlr::TFrmEditor* e = EditorFor(path("page.hts"));
    main->activateWindow();
    e->memo().setFocus();
    QTest::keyClicks(&e->memo(), "mine ");
    ASSERT_TRUE(e->memo().modified());
    prompter->Clear();

    WriteFromOutside(path("page.hts"), "<p>theirs</p>\n");
    LetNoticesArrive();
    EXPECT_TRUE(prompter->messages().empty());  // the typing is not interrupted

    prompter->QueueAnswer(vlr::ModalResult::No);
    QTest::keyClick(&e->memo(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_TRUE(Asked(*prompter, vlr::DocumentWatch::kOverwriteQuestion, path("page.hts")));
    EXPECT_EQ(ReadFile(path("page.hts")), "<p>theirs</p>\n");
    EXPECT_TRUE(e->memo().modified());
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "Modified");

    prompter->QueueAnswer(vlr::ModalResult::Yes);
    QTest::keyClick(&e->memo(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(path("page.hts")), "mine <p>first</p>\n");
    EXPECT_FALSE(e->memo().modified());

    // The window's own saves are not changes by another program.
    prompter->Clear();
    QTest::keyClicks(&e->memo(), "again ");
    QTest::keyClick(&e->memo(), Qt::Key_S, Qt::ControlModifier);
    LetNoticesArrive();
    EXPECT_TRUE(prompter->messages().empty());
    EXPECT_EQ(ReadFile(path("page.hts")), "mine again <p>first</p>\n");
}
