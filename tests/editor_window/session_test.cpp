// A whole editing session in the main window: three files opened, typed in
// and saved, a fourth closed after its question, the windows tiled, and a
// picture of the main window saved for a person to look at. Run it under a
// real display (xvfb-run with QT_QPA_PLATFORM=xcb) to see the desktop look.
#include "project/unit/ProjectUnit.h"
#include "app/window/WindowUnit.h"
#include "EditorFixture.h"

#include "app/shell/StatusLine.h"

#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace vlr;

namespace vlrtest {
namespace {

TEST_F(EditorTest, SessionWithThreeTiledEditors) {
    main->resize(1240, 760);
    const char* pages[] = {"index.hts", "about.hts", "contact.hts"};
    std::vector<TFrmEditor*> editors;
    for (const char* page : pages) {
        WriteFile(path(page), std::string("<html>\r\n<head>\r\n  <title>") + page +
                                  "</title>\r\n</head>\r\n<body>\r\n  <p>Welcome &amp; hello.</p>\r\n"
                                  "  <!-- a comment -->\r\n  <a href=\"http://www.example.com/\">link</a>\r\n"
                                  "</body>\r\n</html>\r\n");
        main->projectUnit().ParseToOpen(path(page));
        ASSERT_NE(FrmEditor, nullptr);
        editors.push_back(FrmEditor);
    }
    for (TFrmEditor* e : editors) {
        main->MdiArea()->setActiveSubWindow(e->subWindow());
        e->memo().goToLineColumn(6, 3);
        Type(e, "<h1>Typed heading</h1>\r  ");
        main->windowUnit().SaveClick();
        EXPECT_FALSE(e->memo().modified());
    }
    EXPECT_NE(ReadFile(path("about.hts")).find("<h1>Typed heading</h1>\r\n"), std::string::npos);

    TFrmEditor* draft = NewEditor();
    Type(draft, "scratch");
    prompter->QueueAnswer(ModalResult::No);
    main->windowUnit().CloseClick();
    ProcessMessages();
    ASSERT_EQ(prompter->messages().size(), 1u);
    EXPECT_EQ(prompter->messages()[0].text, "Save changes to Untitled Web Page?");
    EXPECT_EQ(main->ChildCount("TFrmEditor"), 3);

    main->windowUnit().TileClick();
    TFrmEditor* last = editors.back();
    main->MdiArea()->setActiveSubWindow(last->subWindow());
    Type(last, "x");
    ProcessMessages();
    EXPECT_EQ(main->Status().panelText(6).toStdString(), "Modified");
    EXPECT_EQ(main->Status().panelText(2).toStdString(), "7");  // the caret line after typing
    const char* dir = std::getenv("VELORA_SHOT_DIR");
    const std::string out = std::string(dir ? dir : ".") + "/editor_windows_tiled.png";
    QImage shot = main->grab().toImage();
    EXPECT_TRUE(shot.save(QString::fromStdString(out)));
    last->memo().setModified(false);
}

}  // namespace
}  // namespace vlrtest
