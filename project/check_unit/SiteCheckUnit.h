// The main window's site-check unit: "Check &Site" of the Project menu builds
// every page of the open project in memory, checks it and lists the problems
// in the problems panel; a listed problem opens its file at its line.
//
// The check asks no question about trust: it reads outside the project's
// folder only for a project the user already trusts (answered when building
// it); otherwise such an include is listed as a problem.
#pragma once

#include "app/units/FeatureUnit.h"
#include "project/check/SiteCheck.h"

#include <QObject>
#include <QPointer>

#include <string>

namespace vlr {

class ShellServices;
class TProblemsPanel;

class TSiteCheckUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TSiteCheckUnit(ShellServices& shell);
    ~TSiteCheckUnit() override;

    const char* UnitName() const override { return "sitecheck"; }
    void ConnectCommands() override;

    void CheckSite1Click();
    // The panel (nullptr until the first check).
    TProblemsPanel* Panel() const;

private:
    ShellServices& shell_;
    QPointer<TProblemsPanel> panel_;
    check::CheckCache cache_;
};

// True when the user trusts the project to reach outside its folder.
bool ProjectIsTrusted(const std::string& projectFile);

}  // namespace vlr
