// The main window's feature units: built in order, their messages claimed in
// the dispatcher, and reached by the others through their interfaces.
#include "app/shell/MainWindow.h"

#include "appearance/tools/ToolsUnit.h"
#include "authoring/AuthoringUnit.h"
#include "editor/findfiles/FindInFilesUnit.h"
#include "editor/unit/EditorUnit.h"
#include "project/unit/ProjectUnit.h"

namespace vlr {

void TFrmMainVLR::CreateUnits() {
    auto project = std::make_unique<TProjectUnit>(*this);
    projectUnit_ = project.get();
    units_.push_back(std::move(project));

    auto editors = std::make_unique<TEditorUnit>(*this);
    editorUnit_ = editors.get();
    units_.push_back(std::move(editors));

    units_.push_back(std::make_unique<TAuthoringUnit>(*this));
    units_.push_back(std::make_unique<TFindInFilesUnit>(*this));
    units_.push_back(std::make_unique<TToolsUnit>(*this));

    for (const auto& unit : units_)
        dispatcher_.Register(*unit);
}

ProjectAccess& TFrmMainVLR::Project() {
    if (projectForTest_)
        return *projectForTest_;
    return *projectUnit_;
}

EditorWindows& TFrmMainVLR::Editors() {
    if (editorsForTest_)
        return *editorsForTest_;
    return *editorUnit_;
}

}  // namespace vlr
