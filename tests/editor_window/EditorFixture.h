// A fresh program folder per test (the run folder's modules linked in), a
// scripted prompter, a main window, and a spy window that can stand in for
// the main window to record what an editor window reports.
#pragma once

#include "app/shell/MainWindow.h"
#include "app/shell/StatusLine.h"
#include "editor/unit/EditorUnit.h"
#include "project/unit/ProjectUnit.h"
#include "editor/window/FrmEditor.h"
#include "platform/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velora::memo {
class TOptionsDialog;
}

class QAction;

namespace vlrtest {

struct SpyMessage {
    unsigned msg;
    std::string first, second, third;
};

// Records the record messages it receives (and releases their records).
class SpyWindow : public vlr::MessageHandler {
public:
    SpyWindow();
    ~SpyWindow() override;
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override;
    vlr::Handle handle() const { return handle_; }
    std::vector<SpyMessage> of(unsigned msg) const;
    std::vector<SpyMessage> messages;

private:
    vlr::Handle handle_;
};

struct ReportedError {
    std::string method, message;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& name) const { return (work / name).string(); }
    void WriteFile(const std::string& file, const std::string& bytes) const;
    std::string ReadFile(const std::string& file) const;
    void WritePreferences(const std::string& text) const;

    // A new untitled editor window in the main window.
    vlr::TFrmEditor* NewEditor();
    vlr::TFrmEditor* EditorFor(const std::string& file);
    // Sends a command with a record and returns the result.
    vlr::LResult Command(vlr::TFrmEditor* e, unsigned msg, const std::string& first = {},
                         const std::string& second = {}, const std::string& third = {});
    // Sends a query and takes the answer record.
    std::pair<std::string, std::string> Query(vlr::TFrmEditor* e, unsigned msg);
    std::string Text(vlr::TFrmEditor* e) const;  // stored form, CR breaks
    void Type(vlr::TFrmEditor* e, const std::string& text) const;
    bool Enabled(const char* action) const;
    // Opens the editor options of `e` the user's way (a right click on the text, "Editor
    // Options" chosen in the menu with Return), runs `edit` in the dialog, then OK.
    void EditOptions(vlr::TFrmEditor* e, const std::function<void(velora::memo::TOptionsDialog&)>& edit);
    // Opens the editor's context menu as a right click on its text does and
    // chooses `item` with the arrow keys and Return.
    void ChooseInContextMenu(vlr::TFrmEditor* e, QAction* item);

    std::filesystem::path appDir;
    std::filesystem::path work;
    std::filesystem::path startDir;  // the working folder before the test
    std::unique_ptr<vlr::ScriptedPrompter> prompter;
    std::unique_ptr<vlr::TFrmMainVLR> main;
};

std::vector<ReportedError>& Errors();

// The recovery tests' child process: edits a document and waits to be killed.
int RunRecoveryChild(const std::string& document, const std::string& typed);

}  // namespace vlrtest
