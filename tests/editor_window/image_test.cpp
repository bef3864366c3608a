// Image insertion from an editor window: the prefix rule, the element, the
// measured sizes, the caret after the element, and pictures that cannot be used.
#include "EditorFixture.h"

#include "platform/System.h"

#include "../editor_image/ImageFixtures.h"
#include "editor/image/ImageInfo.h"
#include "editor/window/EditorImage.h"
#include "platform/Record.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using vlrtest::EditorTest;

// Stands in for the main window's answer to 3085.
class ProjectAnswer : public vlr::MessageHandler {
public:
    explicit ProjectAnswer(std::string project) : project_(std::move(project)) {
        handle_ = vlr::RegisterWindow(this, "TFrmMainVLR");
    }
    ~ProjectAnswer() override { vlr::UnregisterWindow(handle_); }
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        if (msg == 3085)
            return reinterpret_cast<vlr::LResult>(vlr::MakeRecord(project_).release());
        vlr::AdoptRecord(lParam);
        return 0;
    }
    vlr::Handle handle() const { return handle_; }

private:
    std::string project_;
    vlr::Handle handle_;
};

class ImageTest : public EditorTest {
protected:
    vlr::TFrmEditor* Window(const std::string& text = "ab") {
        vlr::TFrmEditor* e = NewEditor();
        e->memo().setText(QByteArray::fromStdString(text));
        e->memo().setSelection(1, 1);
        return e;
    }
    std::string Picture(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(vlrtest::WriteBytes(path(name), bytes));
        return path(name);
    }
};

}  // namespace

TEST_F(ImageTest, NoProjectGivesAFileAddressAndTheFirstFramesSize) {
    vlr::TFrmEditor* e = Window();
    const std::string gif = Picture("logo.gif", vlrtest::AnimatedGif(300, 200, 88, 31));
    prompter->QueueFile(gif);
    e->Images->InsertImage();
    const std::string element = "<img src=\"file://" + gif + "\" width=88 height=31 alt=\"logo.gif\">";
    EXPECT_EQ(Text(e), "a" + element + "b");
    EXPECT_EQ(e->memo().selection().caret, velora::memo::Pos(1 + element.size()));
    EXPECT_EQ(e->GifWidth, "88");
    EXPECT_EQ(e->GifHeight, "31");
    ASSERT_EQ(prompter->prompts().size(), 1u);
    EXPECT_EQ(prompter->prompts()[0].dialog.filter.rfind("All (*.gif;*.jpg;*.jpeg;*.png;*.webp;*.svg)|", 0), 0u);
}

TEST_F(ImageTest, UpperCaseJpegPngAndSvgAreMeasured) {
    vlr::TFrmEditor* e = Window("");
    prompter->QueueFile(Picture("PHOTO.JPG", vlrtest::Jpeg(64, 48)));
    e->Images->InsertImage();
    EXPECT_NE(Text(e).find("width=64 height=48 alt=\"PHOTO.JPG\""), std::string::npos);
    EXPECT_EQ(e->JpegWidth, "64");
    prompter->QueueFile(Picture("shot.png", vlrtest::PngHeader(800, 600)));
    e->Images->InsertImage();
    EXPECT_NE(Text(e).find("width=800 height=600 alt=\"shot.png\""), std::string::npos);
    prompter->QueueFile(Picture("icon.svg", "<svg viewBox=\"0 0 24 16\"/>"));
    e->Images->InsertImage();
    EXPECT_NE(Text(e).find("width=24 height=16 alt=\"icon.svg\""), std::string::npos);
}

TEST_F(ImageTest, ProjectPrefixRules) {
    std::ofstream(path("site.vlr")) << "[other]\nimgprep=images/\n";
    std::ofstream(path("bare.vlr")) << "[other]\n";
    const std::string gif = Picture("a b.gif", vlrtest::AnimatedGif(10, 10, 10, 10));
    struct Row {
        std::string prefs, project, src;
    } rows[] = {
        {"", path("site.vlr"), "images/a%20b.gif"},
        {"", path("bare.vlr"), "a%20b.gif"},  // a project without the key: the bare file name
        {"[Environment]\nInsImg=0\n", path("site.vlr"), "file://" + path("a%20b.gif")},
        {"", "none", "file://" + path("a%20b.gif")},
    };
    for (const Row& r : rows) {
        WritePreferences("[Environment]\nNewEditor=0\n" + r.prefs.substr(r.prefs.find('\n') + 1));
        ProjectAnswer answer(r.project);
        vlr::TFrmEditor* e = Window("");
        e->MainWnd = answer.handle();
        prompter->QueueFile(gif);
        e->Images->InsertImage();
        EXPECT_EQ(Text(e), "<img src=\"" + r.src + "\" width=10 height=10 alt=\"a b.gif\">") << r.project;
        e->MainWnd = 0;
    }
}

// An installed program reads the user's preferences from the user's folder:
// the image-prefix choice made there counts.
TEST_F(ImageTest, AnInstalledProgramTakesThePrefixChoiceFromTheUsersPreferences) {
    std::ofstream(path("site.vlr")) << "[other]\nimgprep=images/\n";
    const std::string gif = Picture("pic.gif", vlrtest::AnimatedGif(10, 10, 10, 10));
    const std::filesystem::path config = appDir.string() + "_config";
    std::filesystem::remove_all(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    std::ofstream(appDir / vlr::kInstalledMarker) << "installed\n";
    std::filesystem::create_directories(config / "velora");
    std::ofstream(config / "velora" / "preferences.dat") << "[Environment]\nNewEditor=0\nInsImg=0\n";
    ProjectAnswer answer(path("site.vlr"));
    vlr::TFrmEditor* e = Window("");
    e->MainWnd = answer.handle();
    prompter->QueueFile(gif);
    e->Images->InsertImage();
    EXPECT_EQ(Text(e), "<img src=\"file://" + path("pic.gif") + "\" width=10 height=10 alt=\"pic.gif\">");
    e->MainWnd = 0;
    std::filesystem::remove(appDir / vlr::kInstalledMarker);
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(config);
}

TEST_F(ImageTest, CancelledUnreadableAndUnknownPicturesInsertNothing) {
    vlr::TFrmEditor* e = Window();
    prompter->QueueFiles(std::nullopt);
    e->Images->InsertImage();
    EXPECT_EQ(Text(e), "ab");

    prompter->QueueFile(Picture("broken.gif", "GIF89a\x01"));
    EXPECT_THROW(e->Images->InsertImage(), vlr::image::ImageError);
    EXPECT_EQ(Text(e), "ab");

    prompter->Clear();
    prompter->QueueFile(Picture("old.bmp", "BM"));
    e->Images->InsertImage();
    EXPECT_EQ(Text(e), "ab");
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_NE(prompter->messages()[0].text.find("old.bmp"), std::string::npos);

    prompter->Clear();
    prompter->QueueFile(path("gone.gif"));
    e->Images->InsertImage();
    EXPECT_EQ(Text(e), "ab");
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "Cannot find file " + path("gone.gif"));
}

TEST_F(ImageTest, Message3079InsertsThroughTheMainWindowAndReportsUnreadablePictures) {
    vlr::TFrmEditor* e = Window();
    prompter->QueueFile(Picture("dot.png", vlrtest::PngHeader(3, 2)));
    Command(e, 3079);
    EXPECT_EQ(Text(e), "a<img src=\"file://" + path("dot.png") + "\" width=3 height=2 alt=\"dot.png\">b");
    EXPECT_TRUE(vlrtest::Errors().empty());

    e->memo().setText("ab");
    prompter->QueueFile(Picture("bad.jpg", "not a jpeg"));
    Command(e, 3079);
    EXPECT_EQ(Text(e), "ab");
    ASSERT_EQ(vlrtest::Errors().size(), 1u);
    EXPECT_NE(vlrtest::Errors()[0].message.find("bad.jpg"), std::string::npos);
}
