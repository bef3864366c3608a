#include "appearance/tools/ToolsUnit.h"

#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/units/CoreLibraries.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "appearance/tools/SiteUpload.h"
#include "platform/Prompter.h"
#include "platform/System.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>

namespace vlr {
namespace {

// Stops repainting of the menu bar while the menu is rebuilt.
class FrozenMenuBar {
public:
    explicit FrozenMenuBar(QWidget* bar) : bar_(bar) {
        if (bar_)
            bar_->setUpdatesEnabled(false);
    }
    ~FrozenMenuBar() {
        if (bar_)
            bar_->setUpdatesEnabled(true);
    }
    FrozenMenuBar(const FrozenMenuBar&) = delete;
    FrozenMenuBar& operator=(const FrozenMenuBar&) = delete;

private:
    QWidget* bar_;
};

}  // namespace

TToolsUnit::TToolsUnit(ShellServices& shell) : shell_(shell) {}

TToolsUnit::~TToolsUnit() = default;

QMenu* TToolsUnit::menu() const { return shell_.Commands().menu(QStringLiteral("Tools1")); }

void TToolsUnit::ConnectCommands() {
    shell_.Gate().makeAvailable(CommandGroup::Tools);
    shell_.Gate().makeAvailable(CommandGroup::Upload);
    ConnectCommand(shell_, this, "Upload1", "Upload1Click", [this] { UploadClick(); });
    ConnectCommand(shell_, this, "UploadWizard1", "UploadWizard1Click", [this] { UploadClick(); });
    ConnectCommand(shell_, this, "Upload2", "Upload2Click", [this] { UploadClick(); });
    ConnectCommand(shell_, this, "Customize1", "Add3Click", [this] { Add3Click(); });
    if (QMenu* tools = menu())
        connect(tools, &QMenu::aboutToShow, this, [this] { RunGuarded(shell_, this, "Tools1Click", [this] { Tools1Click(); }); });
}

void TToolsUnit::Tools1Click() {
    shell_.Enter("Tools1Click");
    QMenu* tools = menu();
    if (!tools)
        return;
    const std::string file = ReadablePath("tools.dat");
    std::error_code ec;
    if (std::filesystem::exists(file, ec))
        tools_.LoadFromFile(file);

    FrozenMenuBar frozen(shell_.MainWidget()->menuBar());
    // Every item goes, those defined with the window too; the wizard and
    // "&Customize..." come back as the same commands.
    const QList<QAction*> items = tools->actions();
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        tools->removeAction(*it);
    for (QAction* old : toolItems_)
        old->deleteLater();
    toolItems_.clear();

    tools->addAction(shell_.Commands().action(QStringLiteral("UploadWizard1")));
    if (tools_.Count() > 0) {
        tools->addSeparator();
        for (int i = 0; i < tools_.Count(); ++i) {
            // The caption is taken as it is: "&" marks the access key.
            auto* item = new QAction(QString::fromStdString(tools_.Items(i)->Name), tools);
            connect(item, &QAction::triggered, this,
                    [this, item] { RunGuarded(shell_, item, "NewToolsClick", [&] { NewToolsClick(item); }); });
            tools->addAction(item);
            toolItems_.push_back(item);
        }
    }
    tools->addSeparator();
    tools->addAction(shell_.Commands().action(QStringLiteral("Customize1")));
}

void TToolsUnit::NewToolsClick(QAction* sender) {
    shell_.Enter("NewToolsClick");
    if (!sender)
        return;
    const TUserSetting* tool = tools_.FindSetting(sender->text().toStdString());
    if (!tool)
        return;
    if (!StartTool(tool->Value))
        ShowMessage(MessageKind::Error, "", "Could not load tool", BtnOk);
}

void TToolsUnit::Add3Click() {
    shell_.Enter("Add3Click");
    if (AddToolFn addTool = shell_.Libraries().entry.AddTool)
        addTool(shell_.ApplicationHandle(), shell_.MainHandle());
}

void TToolsUnit::UploadClick() { StartSiteUpload(shell_.MainHandle()); }

}  // namespace vlr
