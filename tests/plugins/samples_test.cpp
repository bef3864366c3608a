// The sample plug-ins of the run folder, loaded when a test asks for them.
#include "PlugInFixture.h"

#include "app/commands/MainCommands.h"
#include "editor/window/FrmEditor.h"
#include "platform/Window.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <filesystem>
#include <regex>

namespace vlrtest {
namespace {

class SamplesTest : public PlugInTest {
protected:
    void SetUp() override {
        PlugInTest::SetUp();
        std::filesystem::remove_all(appDir / "plugins");
        std::filesystem::create_directory_symlink(std::filesystem::path(VELORA_RUN_FOLDER) / "plugins",
                                                  appDir / "plugins");
        Open();
        editor = w->Editors().OpenNewEditor();
        vlr::ProcessMessages();
    }
    // Picks the command in the "Pl&ugins" menu with the mouse.
    void Run(const QString& caption) {
        QMenu* menu = Menu("Plugins1");
        OpenPlugInsMenu();
        for (QAction* a : menu->actions())
            if (a->text() == caption) {
                menu->popup(QPoint(0, 0));
                ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                vlr::ProcessMessages();
                return;
            }
        ADD_FAILURE() << "no command " << caption.toStdString();
    }
    std::string Text() const { return editor->memo().text().toStdString(); }
    vlr::TFrmEditor* editor = nullptr;
};

TEST_F(SamplesTest, TheThreeSamplesLoadAndDoTheirWork) {
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Captions("AboutPlugins1").size(), 3);

    // The words a reader sees: not tags, scripts, the project's tokens or
    // line breaks; an entity is one character.
    editor->memo().setText("one two  three\tfour");
    Run("Word Count");
    EXPECT_EQ(StatusText(), "Words: 4   Characters: 18");
    editor->memo().setText("<h1>Walks</h1>\r\n<p>One <b>lo</b>ng&nbsp;caf&eacute;\r\nday</p>\r\n"
                           "<script>var a = 1;</script><%SiteName%><&parts/footer.inc&><!-- note -->");
    Run("Word Count");
    EXPECT_EQ(StatusText(), "Words: 5   Characters: 23");

    editor->memo().setText("");
    Run("Insert date and time");
    EXPECT_TRUE(std::regex_match(Text(), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d)"))) << Text();

    // A whole page is tidied as a page.
    editor->memo().setText("<html><head><title>t</title></head><body><p>one<p>two</body></html>");
    Run("Tidy up HTML");
    const std::string tidied = Text();
    EXPECT_NE(tidied.find("<p>one</p>"), std::string::npos) << tidied;
    EXPECT_NE(tidied.find("<html"), std::string::npos) << tidied;
    EXPECT_EQ(StatusText(), "Tidy up HTML: done");
    // A fragment is tidied as a fragment.
    editor->memo().setText("<p>one<p>two");
    Run("Tidy up HTML");
    EXPECT_EQ(Text().rfind("<p>one</p>", 0), 0u) << Text();
    EXPECT_EQ(Text().find("<html"), std::string::npos) << Text();

    // A project page: its tokens stay as they are and it stays a fragment.
    editor->memo().setText("<&parts/head.inc&>\n<title><%SiteName%></title>\n<&parts/banner.inc&>\n"
                           "<p>Hi <a href=\"mailto:<%Email%>\"><%Email%></a><p>two</p>\n<&parts/footer.inc&>\n");
    Run("Tidy up HTML");
    const std::string page = Text();
    EXPECT_EQ(StatusText(), "Tidy up HTML: done");
    for (const char* kept : {"<&parts/head.inc&>", "<title><%SiteName%></title>", "<&parts/banner.inc&>",
                             "<a href=\"mailto:<%Email%>\"><%Email%></a></p>", "<p>two</p>", "<&parts/footer.inc&>"})
        EXPECT_NE(page.find(kept), std::string::npos) << kept << "\n" << page;
    for (const char* added : {"&lt;", "&amp;", "<html", "<body", "<head", "<!DOCTYPE"})
        EXPECT_EQ(page.find(added), std::string::npos) << added << "\n" << page;
    EXPECT_LT(page.find("<&parts/head.inc&>"), page.find("<title>"));
    EXPECT_LT(page.find("<&parts/banner.inc&>"), page.find("<p>Hi"));

    // An include that closes the page's frame opened elsewhere is left as it is.
    const std::string footer = "<footer><p>&copy; <%Author%></p></footer></body></html>";
    editor->memo().setText(QByteArray::fromStdString(footer));
    Run("Tidy up HTML");
    EXPECT_EQ(Text(), footer);
    EXPECT_EQ(StatusText().left(25), "Tidy up HTML: this is par");

    // A selection stays a fragment: no document is wrapped around it.
    editor->memo().setText("keep <b>bold");
    editor->memo().setSelection(5, 12);
    Run("Tidy up HTML");
    EXPECT_EQ(Text().rfind("keep <b>bold</b>", 0), 0u) << Text();
    EXPECT_EQ(Text().find("<html"), std::string::npos) << Text();
}

}  // namespace
}  // namespace vlrtest
