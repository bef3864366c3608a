// The main window's "&New..." (the dialog of templates and stored documents)
// and "Open From the &Web..." with the real modules: the chosen document or
// the fetched page ends up in an editor window.
#include "EditorFixture.h"
#include "../shell/UserInput.h"

#include "../libs/TestHttpServer.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>

namespace vlrtest {
namespace {

namespace fs = std::filesystem;

class NewAndWebTest : public EditorTest {
protected:
    void TearDown() override {
        ::setenv("VELORA_PROMPTS", "log", 1);
        EditorTest::TearDown();
    }
    // File, then "Open From the &Web...": its W is also "Ne&w Project...",
    // so the first W selects it and Return chooses it.
    void OpenFromTheWeb() {
        ChooseFromMenuBar(main.get(), Qt::Key_F, {Qt::Key_W, Qt::Key_Return});
        vlr::ProcessMessages();
    }
    std::vector<vlr::TFrmEditor*> editors() const {
        std::vector<vlr::TFrmEditor*> out;
        for (auto* sub : main->MdiArea()->subWindowList())
            if (auto* e = qobject_cast<vlr::TFrmEditor*>(sub->widget()))
                out.push_back(e);
        return out;
    }
    // Runs "&New..." with the dialog shown for real, picking the item shown
    // as `name` (nothing when it is not listed: the dialog is cancelled).
    // Returns whether the item was found.
    bool NewFrom(const std::string& name) {
        ::unsetenv("VELORA_PROMPTS");
        bool found = false;
        QTimer timer;
        QElapsedTimer waited;
        waited.start();
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                if (waited.elapsed() > 5000)
                    timer.stop();
                return;
            }
            timer.stop();
            auto* tree = dialog->findChild<QTreeWidget*>();
            for (QTreeWidgetItemIterator it(tree); tree && *it; ++it)
                if ((*it)->parent() && (*it)->text(0).toStdString() == name) {
                    tree->setCurrentItem(*it);
                    found = true;
                }
            if (found)
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            else
                dialog->reject();
        });
        timer.start(10);
        main->action("New1")->trigger();
        ::setenv("VELORA_PROMPTS", "log", 1);
        return found;
    }
};

}  // namespace

TEST_F(NewAndWebTest, NewOpensAStoredDocumentOrATemplateInAnUntitledWindow) {
    EXPECT_TRUE(Enabled("New1"));
    const fs::path stored = appDir / "repository" / "Pages" / "Home page.html";
    fs::create_directories(stored.parent_path());
    std::ofstream(stored) << "<html><body>our start page</body></html>";
    std::ofstream(stored.string() + ".description") << "The usual start page";

    ASSERT_TRUE(NewFrom("Home page"));
    ASSERT_EQ(editors().size(), 1u);
    vlr::TFrmEditor* e = editors()[0];
    EXPECT_EQ(Text(e), "<html><body>our start page</body></html>");
    EXPECT_NE(e->FileName, stored.string());  // saving never writes into the store

    // A template of the program, with the text its file holds.
    fs::path tpl;
    for (const auto& entry : fs::directory_iterator(appDir / "templates"))
        if (entry.path().extension() == ".htf" && (tpl.empty() || entry.path() < tpl))
            tpl = entry.path();
    ASSERT_FALSE(tpl.empty());
    ASSERT_TRUE(NewFrom(tpl.stem().string()));
    ASSERT_EQ(editors().size(), 2u);
    std::ifstream in(tpl, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string stored_form;
    for (std::size_t i = 0; i < text.size(); ++i) {  // CR LF and LF become the control's CR
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        stored_form += text[i] == '\n' ? '\r' : text[i];
    }
    EXPECT_EQ(Text(vlr::FrmEditor), stored_form);

    // Cancelled: nothing opens.
    EXPECT_FALSE(NewFrom("no such document"));
    EXPECT_EQ(editors().size(), 2u);
}

TEST_F(NewAndWebTest, OpenFromTheWebOpensTheFetchedPageAndReportsAFailure) {
    EXPECT_TRUE(Enabled("OpenFromtheWeb1"));
    TestHttpServer server;
    prompter->QueueInput(server.url("/ok"));
    OpenFromTheWeb();
    vlr::ProcessMessages();
    ASSERT_EQ(editors().size(), 1u);
    EXPECT_EQ(Text(editors()[0]), "<html><body>200 OK</body></html>");
    EXPECT_EQ(fs::path(editors()[0]->FileName).extension(), ".html") << editors()[0]->FileName;
    EXPECT_TRUE(prompter->messages().empty());
    fs::remove(editors()[0]->FileName);

    // A missing page: an error, and no window.
    prompter->QueueInput(server.url("/missing"));
    OpenFromTheWeb();
    vlr::ProcessMessages();
    EXPECT_EQ(editors().size(), 1u);
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Error);
    EXPECT_NE(prompter->messages()[0].text.find("404"), std::string::npos) << prompter->messages()[0].text;

    // Nobody listening: an error too.
    prompter->QueueInput("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/page.html");
    OpenFromTheWeb();
    vlr::ProcessMessages();
    EXPECT_EQ(editors().size(), 1u);
    EXPECT_EQ(prompter->messages().size(), 2u);

    // Cancelled address prompt: nothing asked of the network.
    const std::size_t asked = server.requests().size();
    prompter->QueueInput(std::nullopt);
    OpenFromTheWeb();
    EXPECT_EQ(server.requests().size(), asked);
    EXPECT_EQ(editors().size(), 1u);
}

// A project file from the web is someone else's project: it opens as a
// document to read, never as the project whose build would read the user's
// files and whose upload would publish them.
TEST_F(NewAndWebTest, AProjectFileFromTheWebOpensAsADocumentNotAsTheProject) {
    TestHttpServer server;
    prompter->QueueInput(server.url("/ok.vlr"));
    OpenFromTheWeb();
    vlr::ProcessMessages();
    ASSERT_EQ(editors().size(), 1u);
    EXPECT_EQ(fs::path(editors()[0]->FileName).extension(), ".vlr") << editors()[0]->FileName;
    EXPECT_EQ(Text(editors()[0]), "<html><body>200 OK</body></html>");
    EXPECT_EQ(main->Project().ProjectFile(), "none");
    EXPECT_TRUE(prompter->messages().empty());
    fs::remove(editors()[0]->FileName);
}

}  // namespace vlrtest
