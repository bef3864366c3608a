// The site-check unit.
#include "project/check_unit/SiteCheckUnit.h"

#include "app/units/CommandGate.h"
#include "app/units/EditorWindows.h"
#include "app/units/ProjectAccess.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "platform/Prompter.h"
#include "platform/System.h"
#include "project/build/SystemEnvironment.h"
#include "project/build/TrustedProjects.h"
#include "project/check_unit/ProblemsPanel.h"

#include <QApplication>
#include <QMainWindow>

namespace vlr {

bool ProjectIsTrusted(const std::string& projectFile) {
    return build::TrustedProjects(WritablePath(build::kTrustedProjectsName)).Contains(projectFile);
}

TSiteCheckUnit::TSiteCheckUnit(ShellServices& shell) : shell_(shell) {}

TSiteCheckUnit::~TSiteCheckUnit() = default;

TProblemsPanel* TSiteCheckUnit::Panel() const { return panel_; }

void TSiteCheckUnit::ConnectCommands() {
    shell_.Gate().makeAvailable(CommandGroup::LinkCheck);
    ConnectCommand(shell_, this, "CheckSite1", "CheckSite1Click", [this] { CheckSite1Click(); });
}

void TSiteCheckUnit::CheckSite1Click() {
    ProjectAccess& project = shell_.Project();
    if (project.ProjectFile() == "none") {
        ShowMessage(MessageKind::Information, "", "Open a project to check its site.");
        return;
    }
    check::CheckRequest request;
    request.projectFile = project.ProjectFile();
    request.environment = build::SystemBuildEnvironment();
    request.cache = &cache_;
    const bool trusted = ProjectIsTrusted(request.projectFile);
    request.allowOutside = [trusted](const std::string&) { return trusted; };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    check::CheckResult result = check::CheckSite(request);
    QApplication::restoreOverrideCursor();

    if (!panel_) {
        QMainWindow* main = shell_.MainWidget();
        panel_ = new TProblemsPanel(main);
        main->addDockWidget(Qt::BottomDockWidgetArea, panel_);
        connect(panel_, &TProblemsPanel::OpenAt, this, [this](const QString& path, int line) {
            RunGuarded(shell_, this, "CheckSiteOpenAt",
                       [&] { shell_.Editors().OpenEditorAtLine(path.toStdString(), line); });
        });
    }
    const std::string& file = request.projectFile;
    panel_->ShowResult(result, file.substr(0, file.rfind('/')));
    panel_->show();
    panel_->raise();
    shell_.SetStatusText(QString::fromStdString(SummaryText(result)));
}

}  // namespace vlr
