// The Variables drop-down and Insert Variable.
#include "ProjectFixture.h"

#include "app/commands/DropDownComboBox.h"
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace vlrtest {
namespace {

TEST_F(ProjectShellTest, TheVariablesListShowsProjectVariablesFirstAndInsertSendsTheReference) {
    auto w = NewProjectWindow();
    vlr::DropDownComboBox* box = w->Commands().variablesBox();
    ASSERT_NE(box, nullptr);
    // The box and its button work while an editor window is open.
    w->UpdateEditorCommands(true);
    EXPECT_FALSE(box->isEnabled());
    AddRecordingChild(*w, "TFrmOther");
    AddRecordingChild(*w, "TFrmEditor");
    w->UpdateEditorCommands(false);
    EXPECT_TRUE(box->isEnabled());
    Q_EMIT box->aboutToDropDown();
    ASSERT_EQ(box->count(), 14);
    EXPECT_EQ(box->itemText(0), "Header");
    EXPECT_EQ(box->itemText(13), "SnippetsDir");

    const std::string vlr = projectDir + "/site.vlr";
    vlr::IniFile ini(vlr);
    ini.WriteString("variables", "DateNow", "never");
    ini.WriteString("variables", "Author", "Ann");
    w->projectUnit().ParseToOpen(vlr);
    Q_EMIT box->aboutToDropDown();
    ASSERT_EQ(box->count(), 16);
    EXPECT_EQ(box->itemText(0), "DateNow");
    EXPECT_EQ(box->itemText(1), "Author");
    EXPECT_EQ(box->itemText(2), "Header");
    EXPECT_EQ(box->itemText(8), "DateNow");

    // Only an editor window receives the insertion.
    box->setEditText("Author");
    w->MdiArea()->setActiveSubWindow(w->MdiArea()->subWindowList().front());
    w->action("ToolbarButton9736")->trigger();
    EXPECT_TRUE(childRecords.empty());
    w->MdiArea()->setActiveSubWindow(w->MdiArea()->subWindowList().back());
    w->action("ToolbarButton9736")->trigger();
    ASSERT_EQ(childRecords.size(), 1u);
    EXPECT_EQ(childRecords[0].msg, 2029u);
    EXPECT_EQ(childRecords[0].first, "");
    EXPECT_EQ(childRecords[0].second, "<%Author%>");
    EXPECT_EQ(childRecords[0].third, "no");
}

}  // namespace
}  // namespace vlrtest
