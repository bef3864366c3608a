// The project unit's wiring: its commands, the file list, the close
// question; and the internal variables with the Variables drop-down and Insert Variable.
#include "app/commands/DropDownComboBox.h"
#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "project/unit/ProjectUnit.h"

#include "app/units/CoreLibraries.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "platform/Prompter.h"
#include "project/unit/ProjectFileList.h"
#include "app/units/RecentItems.h"
#include "app/units/FileListArea.h"
#include "platform/Record.h"
#include "platform/Window.h"
#include "project/vars/InternalVariables.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

namespace vlr {

TProjectUnit::TProjectUnit(ShellServices& shell) : shell_(shell) {
    fileList_ = new ProjectFileList(shell_.Side(), shell_.Gate(), this);
}

TProjectUnit::~TProjectUnit() = default;

void TProjectUnit::ConnectCommands() {
    shell_.Gate().makeAvailable(CommandGroup::Project);
    shell_.Gate().makeAvailable(CommandGroup::OpenByType);
    shell_.Gate().makeAvailable(CommandGroup::Variables);

    shell_.RecentProjects().AttachMenu(shell_.Commands().menu("RecentProjects1"));
    shell_.RecentProjects().OnChosen(this, [this](const QString& path) {
        RunGuarded(shell_, this, "RecentProjectClick", [&] { OpenProjectPath(path.toStdString()); });
    });
    shell_.RecentFiles().AttachMenu(shell_.Commands().menu("ReopenFile1"));
    shell_.RecentFiles().OnChosen(this, [this](const QString& path) {
        RunGuarded(shell_, this, "MRUItemClick", [&] { ParseToOpen(path.toStdString()); });
    });

    auto on = [this](const char* name, const char* method, std::function<void()> handler) {
        ConnectCommand(shell_, this, name, method, std::move(handler));
    };
    on("Open1", "Open1Click", [this] { OpenClick(); });
    on("OpenFile1", "Open1Click", [this] { OpenClick(); });
    on("NewProject1", "NewProject1Click", [this] { NewProjectClick(); });
    on("NewProject2", "NewProject1Click", [this] { NewProjectClick(); });
    on("SaveProject1", "SaveProject1Click", [this] { SaveProjectClick(); });
    on("SaveProject2", "SaveProject1Click", [this] { SaveProjectClick(); });
    on("SaveProjectAs1", "SaveProjectAs1Click", [this] { SaveProjectAsClick(); });
    on("CloseProject1", "CloseProject1Click", [this] { CloseProjectClick(); });
    on("AddFile1", "AddFile1Click", [this] { AddFileClick(); });
    on("RemoveFile1", "RemoveFile1Click", [this] { RemoveFileClick(); });
    on("OrganizeVariables1", "OrganizeVariables1Click", [this] { OrganizeVariablesClick(); });
    on("ProjectVariables1", "OrganizeVariables1Click", [this] { OrganizeVariablesClick(); });
    on("Options1", "Options1Click", [this] { ProjectOptionsClick(); });
    on("ProjectOptions1", "Options1Click", [this] { ProjectOptionsClick(); });
    on("ToolbarButton9736", "ToolbarButton9736Click", [this] { InsertVariableClick(); });
    auto guarded = [this](const char* method, std::function<void()> body) {
        return [this, method, body = std::move(body)] { RunGuarded(shell_, this, method, body); };
    };
    if (QMenu* file = shell_.Commands().menu("File1"))
        connect(file, &QMenu::aboutToShow, this, guarded("File1Click", [this] { File1Click(); }));
    if (QMenu* project = shell_.Commands().menu("Project1"))
        connect(project, &QMenu::aboutToShow, this, guarded("Project1Click", [this] { Project1Click(); }));
    if (DropDownComboBox* box = shell_.Commands().variablesBox())
        connect(box, &DropDownComboBox::aboutToDropDown, this,
                guarded("VariablesBox1DropDown", [this] { VariablesDropDown(); }));

    connect(fileList_->addButton(), &QAction::triggered, this, guarded("AddFile1Click", [this] { AddFileClick(); }));
    connect(fileList_->addItem(), &QAction::triggered, this, guarded("AddFile1Click", [this] { AddFileClick(); }));
    connect(fileList_->removeButton(), &QAction::triggered, this,
            guarded("RemoveFile1Click", [this] { RemoveFileClick(); }));
    connect(fileList_->removeItem(), &QAction::triggered, this,
            guarded("RemoveFile1Click", [this] { RemoveFileClick(); }));
    connect(fileList_->compileItem(), &QAction::triggered, this,
            guarded("Compile1Click", [this] { CompileClick(); }));
    // Build All and Preview of the panel run the Project menu's commands.
    connect(fileList_->buildButton(), &QAction::triggered, this, [this] {
        if (QAction* a = shell_.Commands().action("BuildAll1"); a && shell_.Gate().available(a))
            a->trigger();
    });
    auto preview = [this] {
        if (QAction* a = shell_.Commands().action("Preview1"); a && shell_.Gate().available(a))
            a->trigger();
    };
    connect(fileList_->previewButton(), &QAction::triggered, this, preview);
    connect(fileList_->previewItem(), &QAction::triggered, this, preview);
    connect(fileList_, &ProjectFileList::openRequested, this, [this](const QString& path) {
        RunGuarded(shell_, this, "ListView1DblClick", [&] { ParseToOpen(path.toStdString()); });
    });
    connect(fileList_, &ProjectFileList::filesDropped, this, [this](const QStringList& paths) {
        RunGuarded(shell_, this, "ListView1DragDrop", [&] { FilesDroppedOnList(paths); });
    });
    ConnectDockDrops();
    SetProjectCommands(false);
}

void TProjectUnit::Created() {
    projectFile_ = kNoProjectFile;
    projectModified_ = false;
}

bool TProjectUnit::CloseQuery() {
    if (projectFile_ == kNoProjectFile || !projectModified_)
        return true;
    ModalResult answer =
        ShowMessage(MessageKind::Confirmation, "", "Save changes to current project?", BtnYesNoCancel);
    if (answer == ModalResult::Yes)
        return SaveProjectFile();
    // Cancel keeps the program running with the project still modified.
    return answer == ModalResult::No;
}

void TProjectUnit::Closed() {
    projectFile_ = kNoProjectFile;
    projectModified_ = false;
}

void TProjectUnit::SetProjectState(const std::string& projectFile, bool modified) {
    projectFile_ = projectFile;
    projectModified_ = modified;
}

void TProjectUnit::InternalVars() {
    shell_.Enter("InternalVars");
    TProjectVarSource source;
    source.ProjectFile = projectFile_;
    source.SourceDir = project_.SourceDir;
    source.OutputDir = project_.OutputDir;
    source.ImageDir = project_.ImageDir;
    source.ImgPrefix = project_.ImgPrefix;
    vlr::InternalVars(internalVariables_, source);
}

std::string TProjectUnit::VariableValueOf(const std::string& name) {
    InternalVars();
    return VariableValue(name, internalVariables_, projectVariables_);
}

void TProjectUnit::VariablesDropDown() {
    shell_.Enter("VariablesBox1DropDown");
    DropDownComboBox* box = shell_.Commands().variablesBox();
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

void TProjectUnit::InsertVariableClick() {
    shell_.Enter("ToolbarButton9736Click");
    DropDownComboBox* box = shell_.Commands().variablesBox();
    Handle child = shell_.ActiveChildHandle();
    if (!box || GetClassName(child) != "TFrmEditor")
        return;
    RecordPtr r = MakeRecord("", "<%" + box->currentText().toStdString() + "%>", "no");
    SendMessage(child, 2029, 0, reinterpret_cast<LParam>(r.release()));
    // Typing goes on in the document, not in the Variables box: the focus
    // returns to the part of the editor window that had it last, or else to
    // its first part that takes the focus by a click (the text, not the tabs).
    if (QWidget* window = WindowWidget(child)) {
        QWidget* target = window->focusWidget();
        for (QWidget* part : window->findChildren<QWidget*>())
            if (!target && (part->focusPolicy() & Qt::ClickFocus) && part->isVisibleTo(window))
                target = part;
        (target ? target : window)->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace vlr
