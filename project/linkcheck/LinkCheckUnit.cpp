// The link-check unit.
#include "project/linkcheck/LinkCheckUnit.h"

#include "app/units/EditorWindows.h"
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "app/units/CommandGate.h"
#include "project/linkcheck/FrmLinkCheck.h"
#include "platform/Prompter.h"

#include <QMainWindow>

#include <filesystem>

namespace vlr {

TLinkCheckUnit::TLinkCheckUnit(ShellServices& shell) : shell_(shell) {}

TLinkCheckUnit::~TLinkCheckUnit() { delete window_.data(); }

TFrmLinkCheck* TLinkCheckUnit::Window() const { return window_; }

void TLinkCheckUnit::ConnectCommands() {
    shell_.Gate().makeAvailable(CommandGroup::LinkCheck);
    ConnectCommand(shell_, this, "CheckLinks1", "CheckLinks1Click", [this] { CheckLinks1Click(); });
}

void TLinkCheckUnit::Closed() {
    if (window_)
        window_->Cancel();
}

void TLinkCheckUnit::CheckLinks1Click() {
    ProjectAccess& project = shell_.Project();
    if (project.ProjectFile() == "none") {
        ShowMessage(MessageKind::Information, "", "Open a project to check the links of its pages.");
        return;
    }
    const std::string out = project.Project().OutputDir;
    std::error_code ec;
    if (out.empty() || !std::filesystem::is_directory(out, ec)) {
        ShowMessage(MessageKind::Information, "",
                    "There are no built pages to check in \"" + out + "\". Build the project first.");
        return;
    }
    if (!window_) {
        window_ = new TFrmLinkCheck(shell_.MainWidget());
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        connect(window_, &TFrmLinkCheck::OpenAt, this, [this](const QString& path, int line) {
            RunGuarded(shell_, this, "CheckLinksOpenAt", [&] { OpenAt(path.toStdString(), line); });
        });
    }
    window_->Start(out, project.Project().SourceDir);
    window_->show();
    window_->raise();
}

void TLinkCheckUnit::OpenAt(const std::string& path, int line) {
    // A page that is already open is shown in its own window, not opened again.
    shell_.Editors().OpenEditorAtLine(path, line);
}

}  // namespace vlr
