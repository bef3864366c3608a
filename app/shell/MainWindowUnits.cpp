// The main window's feature units: built in order, their messages claimed in
// the dispatcher, and reached by the others through their interfaces.
#include "app/shell/MainWindow.h"

#include "app/window/WindowUnit.h"
#include "appearance/tools/ToolsUnit.h"
#include "authoring/AuthoringUnit.h"
#include "editor/findfiles/FindInFilesUnit.h"
#include "editor/unit/EditorUnit.h"
#include "project/linkcheck/LinkCheckUnit.h"
#include "project/build_unit/BuildUnit.h"
#include "project/check_unit/SiteCheckUnit.h"
#include "plugins/PlugInUnit.h"
#include "project/unit/ProjectUnit.h"
#include "spelling/unit/SpellingUnit.h"

namespace vlr {

void TFrmMainVLR::CreateUnits() {
    auto project = std::make_unique<TProjectUnit>(*this);
    projectUnit_ = project.get();
    units_.push_back(std::move(project));

    auto editors = std::make_unique<TEditorUnit>(*this);
    editorUnit_ = editors.get();
    units_.push_back(std::move(editors));

    auto window = std::make_unique<TWindowUnit>(*this);
    windowUnit_ = window.get();
    units_.push_back(std::move(window));

    units_.push_back(std::make_unique<TAuthoringUnit>(*this));
    units_.push_back(std::make_unique<TFindInFilesUnit>(*this));
    units_.push_back(std::make_unique<TToolsUnit>(*this));
    units_.push_back(std::make_unique<TLinkCheckUnit>(*this));
    units_.push_back(std::make_unique<TSiteCheckUnit>(*this));
    units_.push_back(std::make_unique<TBuildUnit>(*this));
    units_.push_back(std::make_unique<TPlugInUnit>(*this));
    units_.push_back(std::make_unique<TSpellingUnit>(*this));

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
