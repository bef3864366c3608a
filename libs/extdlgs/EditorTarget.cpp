// Reaching the active document from the insertion dialogs.
#include "libs/extdlgs/EditorTarget.h"

#include "platform/IniFile.h"
#include "platform/Record.h"
#include "platform/System.h"
#include "project/model/ProjectModel.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVariant>
#include <QWidget>

#include <filesystem>

namespace vlr::extdlgs {
namespace {

constexpr unsigned kInsertMarkup = 2029;
constexpr unsigned kGetSelText = 3072;
constexpr unsigned kProjectFileQuery = 3085;

}  // namespace

Handle ActiveEditorOf(Handle mainWindow) {
    QWidget* main = WindowWidget(mainWindow);
    if (!main)
        return 0;
    auto* area = main->findChild<QMdiArea*>();
    if (!area)
        return 0;
    // The current child stays current while a dialog has the focus, as the main window sees it.
    QMdiSubWindow* sub = area->currentSubWindow();
    if (!sub || !sub->widget())
        return 0;
    const auto handle = sub->widget()->property("vlrHandle").value<Handle>();
    return IsEditorWindow(handle) ? handle : 0;
}

bool IsEditorWindow(Handle window) { return GetClassName(window) == "TFrmEditor"; }

void SendMarkup(Handle editor, const std::string& start, const std::string& end, const std::string& flag) {
    if (!IsEditorWindow(editor))
        return;
    RecordPtr r = MakeRecord(start, end, flag);
    SendMessage(editor, kInsertMarkup, 0, reinterpret_cast<LParam>(r.release()));
}

std::string SelectedText(Handle editor) {
    if (!IsEditorWindow(editor))
        return {};
    return FirstText(AdoptRecord(SendMessage(editor, kGetSelText, 0, 0)));
}

bool LowerTagsPreference() { return IniFile(ReadablePath("preferences.dat")).ReadBool("Environment", "LowerTags", true); }

std::vector<std::string> ProjectFiles(Handle mainWindow) {
    const std::string projectFile = FirstText(AdoptRecord(SendMessage(mainWindow, kProjectFileQuery, 0, 0)));
    if (projectFile.empty() || projectFile == kNoProjectFile)
        return {};
    ProjectState state;
    ReadProjectFile(projectFile, state);
    std::vector<std::string> out;
    const std::filesystem::path source = std::filesystem::path(state.SourceDir).lexically_normal();
    for (const std::string& file : state.AllFiles) {
        const std::filesystem::path relative = std::filesystem::path(file).lexically_normal().lexically_relative(source);
        const bool inside = !state.SourceDir.empty() && !relative.empty() && *relative.begin() != "..";
        out.push_back(inside ? relative.generic_string() : file);
    }
    return out;
}

}  // namespace vlr::extdlgs
