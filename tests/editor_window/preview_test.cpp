// The preview page of editor windows: the browser check, the temporary pages
// with and without a project, and the single-file build behind it.
#include "EditorFixture.h"

#include "app/shell/StatusLine.h"
#include "editor/window/EditorPreview.h"
#include "platform/Record.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QTabBar>
#include <QThread>

#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

constexpr unsigned kBuildOne = 3039;

class PreviewTest : public EditorTest {
protected:
    // Opening a project makes its folder current; leave it before the
    // fixture deletes it, or later tests (and their child processes) would
    // run in a folder that is gone.
    void TearDown() override {
        QDir::setCurrent(QDir::tempPath());
        EditorTest::TearDown();
    }

    // Chooses a tab the way a click does.
    void Choose(vlr::TFrmEditor* e, int tab) {
        e->TabSet1->setCurrentIndex(tab);
        vlr::ProcessMessages();
    }

    // Waits until the browser shows a pixel of the given colour in its middle.
    bool BrowserShows(vlr::TFrmEditor* e, QColor colour) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            const QImage image = e->Browser->grab().toImage();
            if (!image.isNull() && image.pixelColor(image.width() / 2, image.height() / 2) == colour)
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    // The permission bits of a file or folder.
    static unsigned ModeOf(const std::string& path) {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0xFFFFu;
    }

    // Names in a folder tree that a preview left behind ("~..." or ".~...").
    static std::vector<std::string> Leftovers(const fs::path& folder) {
        std::vector<std::string> found;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.rfind("~", 0) == 0 || name.rfind(".~", 0) == 0)
                found.push_back(it->path().string());
        }
        return found;
    }

    // A project in work/site: src/sub/page.hts including ../part.inc and a
    // variable, built into work/site/out.
    std::string MakeProject() {
        const fs::path site = work / "site";
        fs::create_directories(site / "src/sub");
        WriteFile((site / "site.vlr").string(), "[files]\n0=" + (site / "src/sub/page.hts").string() +
                                                    "\n[directories]\nsrc=" + (site / "src").string() +
                                                    "\nout=" + (site / "out").string() +
                                                    "\n[variables]\nColour=#ff0000\n");
        WriteFile((site / "src/sub/page.hts").string(), "saved text");
        WriteFile((site / "src/part.inc").string(), "<body style=\"background:<%Colour%>\">");
        return (site / "site.vlr").string();
    }
};

TEST_F(PreviewTest, WithTheModuleEditorWindowsGetTheTabStripAndABrowser) {
    vlr::TFrmEditor* e = NewEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->TabSet1->isHidden());
    ASSERT_NE(e->Browser, nullptr);
    EXPECT_EQ(e->Notebook1->currentIndex(), 0);
}

TEST_F(PreviewTest, WithoutTheModuleThereIsNoTabStrip) {
    // A program folder never used before in this process, without the module:
    // the loader would otherwise find the module under a name it already knows.
    main.reset();
    const fs::path bare = appDir.parent_path() / "app-without-preview";
    fs::create_directories(bare);
    for (const auto& entry : fs::directory_iterator(appDir))
        if (entry.path().filename() != "preview.so")
            fs::copy(entry.path(), bare / entry.path().filename(),
                     entry.is_symlink() ? fs::copy_options::copy_symlinks : fs::copy_options::recursive);
    ::setenv("VELORA_APPDIR", (bare.string() + "/").c_str(), 1);
    main = std::make_unique<vlr::TFrmMainVLR>();
    main->show();
    vlr::TFrmEditor* e = NewEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->TabSet1->isHidden());
    EXPECT_EQ(e->Browser, nullptr);
}

TEST_F(PreviewTest, WithoutAProjectTheUnsavedTextIsShownFromAPrivatePage) {
    vlr::TFrmEditor* e = NewEditor();
    e->memo().setText("<html><body style=\"background:#00ff00\">\rfirst\r</body></html>");
    Choose(e, 1);
    // Kept in a folder of the program's own that nobody else can enter,
    // never in the shared temporary folder.
    const fs::path file(e->PreviewFile);
    EXPECT_EQ(file.filename().string(), "~" + e->TickId + ".htm");
    EXPECT_NE(file.parent_path().string() + "/", e->TempDir);
    EXPECT_EQ(ModeOf(file.parent_path().string()), 0700u);
    EXPECT_EQ(ModeOf(e->PreviewFile), 0600u);
    // Written as plain text with CR LF line breaks.
    EXPECT_EQ(ReadFile(e->PreviewFile), "<html><body style=\"background:#00ff00\">\r\nfirst\r\n</body></html>");
    EXPECT_EQ(e->Notebook1->currentIndex(), 1);
    EXPECT_TRUE(BrowserShows(e, QColor(0, 255, 0)));

    // Back to the source: the temporary page goes.
    Choose(e, 0);
    EXPECT_FALSE(fs::exists(e->PreviewFile));
    EXPECT_EQ(e->Notebook1->currentIndex(), 0);

    // An edit made since is what the next preview shows.
    e->memo().setText("<html><body style=\"background:#0000ff\"></body></html>");
    Choose(e, 1);
    EXPECT_TRUE(BrowserShows(e, QColor(0, 0, 255)));
    const std::string page = e->PreviewFile;
    EXPECT_TRUE(fs::exists(page));
    // Closing the window removes it as well.
    e->subWindow()->close();
    vlr::ProcessMessages();
    EXPECT_FALSE(fs::exists(page));
}

// A link planted at the page's name is never written through.
TEST_F(PreviewTest, APlantedLinkAtThePageNameIsReplacedNotFollowed) {
    vlr::TFrmEditor* e = NewEditor();
    e->memo().setText("<html><body>first</body></html>");
    Choose(e, 1);
    const std::string page = e->PreviewFile;
    Choose(e, 0);
    const std::string victim = (work / "victim.txt").string();
    WriteFile(victim, "mine");
    fs::create_symlink(victim, page);
    e->memo().setText("<html><body>second</body></html>");
    Choose(e, 1);
    EXPECT_EQ(ReadFile(victim), "mine");
    EXPECT_FALSE(fs::is_symlink(page));
    EXPECT_EQ(ReadFile(page), "<html><body>second</body></html>");
}

TEST_F(PreviewTest, TwoWindowsMadeAtOnceUseDifferentTemporaryNames) {
    vlr::TFrmEditor* a = NewEditor();
    vlr::TFrmEditor* b = NewEditor();
    EXPECT_NE(a->TickId, b->TickId);
    Choose(a, 1);
    Choose(b, 1);
    EXPECT_NE(a->PreviewFile, b->PreviewFile);
    EXPECT_TRUE(fs::exists(a->PreviewFile));
    EXPECT_TRUE(fs::exists(b->PreviewFile));
}

TEST_F(PreviewTest, WithAProjectTheBuiltPageIsShownAsThoughItStoodInTheOutputFolder) {
    const std::string project = MakeProject();
    // A picture of the site, which the page finds by its relative address.
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    fs::create_directories(work / "site/out");
    ASSERT_TRUE(picture.save(QString::fromStdString((work / "site/out/pic.png").string())));
    main->projectUnit().ParseToOpen(project);
    vlr::TFrmEditor* e = EditorFor((work / "site/src/sub/page.hts").string());
    ASSERT_NE(e, nullptr);
    e->memo().setText("<&../part.inc&>unsaved edit</body>");
    Choose(e, 1);

    // The page is built from the unsaved text, includes found where the
    // document's are, and kept privately: nothing in the output folder.
    EXPECT_EQ(fs::path(e->PreviewFile).filename().string(), "~" + e->TickId + ".htm");
    EXPECT_EQ(e->PreviewFile.find((work / "site").string()), std::string::npos);
    EXPECT_EQ(ModeOf(e->PreviewFile), 0600u);
    EXPECT_FALSE(fs::exists(e->PreviewSource));
    EXPECT_EQ(ReadFile(e->PreviewFile), "<body style=\"background:#ff0000\">unsaved edit</body>");
    EXPECT_EQ(Leftovers(work / "site"), std::vector<std::string>());
    EXPECT_EQ(e->Notebook1->currentIndex(), 1);
    EXPECT_TRUE(BrowserShows(e, QColor(255, 0, 0)));

    // Relative addresses work as in the output folder.
    Choose(e, 0);
    e->memo().setText("<body style=\"background:#ff0000\"><img src=\"../pic.png\" "
                      "onload=\"document.body.style.background='#00ff00'\"></body>");
    Choose(e, 1);
    EXPECT_TRUE(BrowserShows(e, QColor(0, 255, 0)));

    Choose(e, 0);
    EXPECT_FALSE(fs::exists(e->PreviewFile));
    EXPECT_EQ(Leftovers(work / "site"), std::vector<std::string>());
    // The saved file was never touched.
    EXPECT_EQ(ReadFile((work / "site/src/sub/page.hts").string()), "saved text");
}

TEST_F(PreviewTest, FoldersStoredRelativeToTheProjectFileGiveAWholeAddress) {
    const fs::path site = work / "rel";
    fs::create_directories(site / "src/sub");
    WriteFile((site / "rel.vlr").string(), "[files]\n0=src/sub/page.hts\n[directories]\nsrc=src\nout=out\n");
    WriteFile((site / "src/sub/page.hts").string(), "saved");
    WriteFile((site / "src/part.inc").string(), "<body style=\"background:#ff00ff\">");
    main->projectUnit().ParseToOpen((site / "rel.vlr").string());
    vlr::TFrmEditor* e = EditorFor((site / "src/sub/page.hts").string());
    ASSERT_NE(e, nullptr);
    e->memo().setText("<&../part.inc&>relative");
    Choose(e, 1);
    EXPECT_EQ(Leftovers(site), std::vector<std::string>());
    EXPECT_EQ(e->Notebook1->currentIndex(), 1);
    EXPECT_TRUE(BrowserShows(e, QColor(255, 0, 255)));
}

TEST_F(PreviewTest, AFailedBuildStaysOnTheSourceLeavesNothingBehindAndSaysWhy) {
    const std::string project = MakeProject();
    main->projectUnit().ParseToOpen(project);
    vlr::TFrmEditor* e = EditorFor((work / "site/src/sub/page.hts").string());
    ASSERT_NE(e, nullptr);
    e->memo().setText("line\r<&../nowhere.inc&>");
    Choose(e, 1);
    EXPECT_EQ(e->TabSet1->currentIndex(), 0);
    EXPECT_EQ(e->Notebook1->currentIndex(), 0);
    EXPECT_FALSE(fs::exists(e->PreviewSource));
    EXPECT_FALSE(fs::exists(e->PreviewFile));
    EXPECT_EQ(Leftovers(work / "site"), std::vector<std::string>());
    const std::string status = main->Status().panelText(1).toStdString();
    EXPECT_NE(status.find(":2: include file \"../nowhere.inc\" not found"), std::string::npos) << status;
}

TEST_F(PreviewTest, BuildOneAnswersOneOnlyForAResultOfExactlyOne) {
    static int answer = 0;
    main->Libraries().entry.ProcessProject = [](const char*, const char*, vlr::Handle, std::int32_t,
                                                std::int32_t) -> std::int32_t { return answer; };
    auto buildOne = [&] {
        vlr::RecordPtr r = vlr::MakeRecord("/some/page.hts", "true");
        return vlr::SendMessage(main->handle(), kBuildOne, 0, reinterpret_cast<vlr::LParam>(r.release()));
    };
    for (int result : {1, 2, -1, 0}) {
        answer = result;
        EXPECT_EQ(buildOne(), result == 1 ? 1 : 0) << result;
    }
}

}  // namespace
}  // namespace vlrtest
