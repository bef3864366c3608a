// Every module loads from the run folder and offers its entry points by name;
// the entry points whose dialogs and services are not offered yet answer
// failure and do nothing else.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "platform/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

using namespace vlrtest;

namespace {

const std::vector<std::pair<const char*, std::vector<const char*>>> kEntryPoints = {
    {"vlrsys",
     {"ExceptCenter", "NewProj", "DoVars", "ShowProjPref", "DoPref", "ShowObjRep", "AddObjRep", "DlFromWeb",
      "AddTool"}},
    {"vlrcore", {"ProcessProject", "DoPathEx"}},
    {"extdlgs", {"ShowHLink", "InsTable", "InsActiveX", "InsJavaApp", "InsCSS"}},
    {"coldlg", {"ColDlgInitEx"}},
    {"iview", {"IViewDisp"}},
    {"webpost", {"WpPostA"}},
    {"validate", {"DoValidate", "GetHint"}},
};

TEST(ModuleEntryPoints, EveryModuleLoadsAndOffersEachOfItsEntryPointsByName) {
    for (const auto& [module, names] : kEntryPoints) {
        vlr::LibraryHandle h = Module(module);
        ASSERT_NE(h, nullptr) << module;
        for (const char* name : names)
            EXPECT_NE(vlr::GetProcAddress(h, name), nullptr) << module << ": " << name;
    }
}

TEST(ModuleEntryPoints, ServicesNotOfferedYetReportFailureRatherThanSuccess) {
    App();
    TempAppDir appDir;
    FakeMainWindow main;
    EXPECT_EQ(Entry<ProcessProjectFn>("vlrcore", "ProcessProject")("/no/site.vlr", "", main.handle(), 0, -1), 0);

    const char* hint = Entry<GetHintFn>("validate", "GetHint")(0, "index.html");
    ASSERT_NE(hint, nullptr);
    EXPECT_STREQ(hint, "");
}

TEST(ModuleEntryPoints, DialogsNotOfferedYetShowNothingAndSendNothing) {
    App();
    TempAppDir appDir;
    FakeMainWindow main;
    vlr::ScriptedPrompter prompter;
    ModalDriver driver([](QWidget* w) { w->close(); });
    vlr::Handle m = main.handle();

    Entry<ShowObjRepFn>("vlrsys", "ShowObjRep")(0, m);
    Entry<AddObjRepFn>("vlrsys", "AddObjRep")(0, m, "/tmp/page.hts");
    Entry<DlFromWebFn>("vlrsys", "DlFromWeb")(0, m);
    // The insertion dialogs need an editor window to insert into.
    Entry<ShowHLinkFn>("extdlgs", "ShowHLink")(0, m);
    for (const char* name : {"InsTable", "InsActiveX", "InsJavaApp"})
        Entry<InsertDialogFn>("extdlgs", name)(m, 0, "true");
    Entry<DoValidateFn>("validate", "DoValidate")(0, "http://example.org/", m);
    Settle();

    EXPECT_TRUE(main.received().empty());
    EXPECT_TRUE(prompter.prompts().empty());
    EXPECT_FALSE(driver.acted());
}

}  // namespace
