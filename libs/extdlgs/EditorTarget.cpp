// Reaching the active document from the insertion dialogs.
#include "libs/extdlgs/EditorTarget.h"

#include "platform/IniFile.h"
#include "platform/Record.h"
#include "platform/System.h"
#include "project/build/SiteBuild.h"
#include "project/build/SiteProject.h"
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

std::string DocumentPath(Handle editor) {
    QWidget* window = IsEditorWindow(editor) ? WindowWidget(editor) : nullptr;
    return window ? window->windowFilePath().toStdString() : std::string();
}

std::vector<std::string> ProjectPages(Handle mainWindow, const std::string& currentDocument) {
    const std::string projectFile = FirstText(AdoptRecord(SendMessage(mainWindow, kProjectFileQuery, 0, 0)));
    if (projectFile.empty() || projectFile == kNoProjectFile)
        return {};
    build::SiteProject project;
    std::string error;
    if (!build::ReadSiteProject(projectFile, project, error))
        return {};
    // Links start where the current page is built; a document that is not a
    // project page (or has no name yet) is taken as built into the output folder.
    const std::filesystem::path from =
        currentDocument.empty()
            ? std::filesystem::path(project.OutputDir)
            : std::filesystem::path(build::OutputPathFor(project, currentDocument, false)).parent_path();
    std::vector<std::string> out;
    for (const std::string& file : project.Files) {
        const std::filesystem::path page(build::OutputPathFor(project, file, false));
        const std::filesystem::path relative = page.lexically_relative(from);
        out.push_back(relative.empty() ? page.generic_string() : relative.generic_string());
    }
    return out;
}

}  // namespace vlr::extdlgs
