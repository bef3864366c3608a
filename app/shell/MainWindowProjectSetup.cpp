// Wiring of the project, open-by-type, file list and variable commands, and
// the internal variables with the Variables drop-down and Insert Variable.
#include "app/commands/DropDownComboBox.h"
#include "app/commands/MainCommands.h"
#include "app/shell/CommandGate.h"
#include "app/shell/MainWindow.h"
#include "app/shell/ProjectFileList.h"
#include "app/shell/RecentList.h"
#include "app/shell/SidePanel.h"
#include "platform/Record.h"
#include "project/vars/InternalVariables.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>

namespace vlr {

void TFrmMainVLR::ConnectProjectCommands() {
    fileList_ = new ProjectFileList(*side_, this);
    fileList_->buildAvailable = [this] { return gate_->available(CommandGroup::Build); };
    gate_->makeAvailable(CommandGroup::Project);
    gate_->makeAvailable(CommandGroup::OpenByType);
    gate_->makeAvailable(CommandGroup::Variables);

    parseToOpen = [this](const QString& path) { ParseToOpen(path.toStdString()); };
    projectSaver = [this] { return SaveProjectFile(); };
    recentProjects_->AttachMenu(commands_->menu("RecentProjects1"), [this](const QString& path) {
        enter("RecentProjectClick");
        OpenProjectPath(path.toStdString());
    });

    auto on = [this](const char* name, std::function<void()> handler) { onTriggered(name, std::move(handler)); };
    on("Open1", [this] { OpenClick(); });
    on("OpenFile1", [this] { OpenClick(); });
    on("NewProject1", [this] { NewProjectClick(); });
    on("NewProject2", [this] { NewProjectClick(); });
    on("SaveProject1", [this] { SaveProjectClick(); });
    on("SaveProject2", [this] { SaveProjectClick(); });
    on("SaveProjectAs1", [this] { SaveProjectAsClick(); });
    on("CloseProject1", [this] { CloseProjectClick(); });
    on("AddFile1", [this] { AddFileClick(); });
    on("RemoveFile1", [this] { RemoveFileClick(); });
    on("OrganizeVariables1", [this] { OrganizeVariablesClick(); });
    on("ProjectVariables1", [this] { OrganizeVariablesClick(); });
    on("Options1", [this] { ProjectOptionsClick(); });
    on("ProjectOptions1", [this] { ProjectOptionsClick(); });
    on("ToolbarButton9736", [this] { InsertVariableClick(); });
    if (QMenu* file = commands_->menu("File1"))
        connect(file, &QMenu::aboutToShow, this, [this] { File1Click(); });
    if (QMenu* project = commands_->menu("Project1"))
        connect(project, &QMenu::aboutToShow, this, [this] { Project1Click(); });
    if (DropDownComboBox* box = commands_->variablesBox())
        connect(box, &DropDownComboBox::aboutToDropDown, this, [this] { VariablesDropDown(); });

    connect(fileList_->addButton(), &QAction::triggered, this, [this] { AddFileClick(); });
    connect(fileList_->addItem(), &QAction::triggered, this, [this] { AddFileClick(); });
    connect(fileList_->removeButton(), &QAction::triggered, this, [this] { RemoveFileClick(); });
    connect(fileList_->removeItem(), &QAction::triggered, this, [this] { RemoveFileClick(); });
    connect(fileList_->compileItem(), &QAction::triggered, this, [this] { CompileClick(); });
    // Build All and Preview of the panel run the Project menu's commands.
    connect(fileList_->buildButton(), &QAction::triggered, this, [this] {
        if (QAction* a = action("BuildAll1"); a && gate_->available(a))
            a->trigger();
    });
    auto preview = [this] {
        if (QAction* a = action("Preview1"); a && gate_->available(a))
            a->trigger();
    };
    connect(fileList_->previewButton(), &QAction::triggered, this, preview);
    connect(fileList_->previewItem(), &QAction::triggered, this, preview);
    connect(fileList_, &ProjectFileList::openRequested, this, [this](const QString& path) {
        enter("ListView1DblClick");
        ParseToOpen(path.toStdString());
    });
    connect(fileList_, &ProjectFileList::filesDropped, this,
            [this](const QStringList& paths) { FilesDroppedOnList(paths); });
    connect(side_, &SidePanel::closeRequested, this, [this] {
        enter("SpeedButton1Click");
        side_->hide();
        splitter_->handle(1)->hide();
    });
    ConnectDockDrops();
    SetProjectCommands(false);
}

void TFrmMainVLR::InternalVars() {
    enter("InternalVars");
    TProjectVarSource source;
    source.ProjectFile = projectFile_;
    source.SourceDir = project_.SourceDir;
    source.OutputDir = project_.OutputDir;
    source.ImageDir = project_.ImageDir;
    source.ImgPrefix = project_.ImgPrefix;
    vlr::InternalVars(internalVariables_, source);
}

std::string TFrmMainVLR::VariableValueOf(const std::string& name) {
    InternalVars();
    return VariableValue(name, internalVariables_, projectVariables_);
}

void TFrmMainVLR::VariablesDropDown() {
    enter("VariablesBox1DropDown");
    DropDownComboBox* box = commands_->variablesBox();
    if (!box)
        return;
    InternalVars();
    const QString text = box->currentText();
    box->clear();
    for (const TUserSettingList* list : {&projectVariables_, &internalVariables_})
        for (int i = 0; i < list->Count(); ++i)
            box->addItem(QString::fromStdString(list->Items(i)->Name));
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void TFrmMainVLR::InsertVariableClick() {
    enter("ToolbarButton9736Click");
    DropDownComboBox* box = commands_->variablesBox();
    Handle child = ActiveChildHandle();
    if (!box || GetClassName(child) != "TFrmEditor")
        return;
    RecordPtr r = MakeRecord("", "<%" + box->currentText().toStdString() + "%>", "no");
    SendMessage(child, 2029, 0, reinterpret_cast<LParam>(r.release()));
}

}  // namespace vlr
