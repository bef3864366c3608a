// The sample plug-ins of the run folder, loaded when a test asks for them.
#include "PlugInFixture.h"

#include "app/commands/MainCommands.h"
#include "editor/window/FrmEditor.h"
#include "platform/Window.h"

#include <QAction>
#include <QMenu>

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
    void Run(const QString& caption) {
        for (QAction* a : Menu("Plugins1")->actions())
            if (a->text() == caption) {
                a->trigger();
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

    editor->memo().setText("one two  three\tfour");
    Run("Word Count");
    EXPECT_EQ(StatusText(), "Words: 4   Characters: 19");

    editor->memo().setText("");
    Run("Insert date and time");
    EXPECT_TRUE(std::regex_match(Text(), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d)"))) << Text();

    editor->memo().setText("<p>one<p>two");
    Run("Tidy up HTML");
    const std::string tidied = Text();
    EXPECT_NE(tidied.find("</p>"), std::string::npos) << tidied;
    EXPECT_NE(tidied.find("<html"), std::string::npos) << tidied;
    EXPECT_EQ(StatusText(), "Tidy up HTML: done");

    // A selection stays a fragment: no document is wrapped around it.
    editor->memo().setText("keep <b>bold");
    editor->memo().setSelection(5, 12);
    Run("Tidy up HTML");
    EXPECT_EQ(Text().rfind("keep <b>bold</b>", 0), 0u) << Text();
    EXPECT_EQ(Text().find("<html"), std::string::npos) << Text();
}

}  // namespace
}  // namespace vlrtest
