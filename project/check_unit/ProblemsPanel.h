// The problems panel: a dock at the foot of the main window listing what the
// site check found, one row per problem with its file (relative to the
// project's folder), line, column, severity, message and rule. Activating a
// row (double-click or Enter) asks for the file to be opened at the line.
#pragma once

#include "project/check/SiteCheck.h"

#include <QDockWidget>

#include <string>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace vlr {

class TProblemsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit TProblemsPanel(QWidget* parent = nullptr);

    // Shows a check's result; `folder` is the project's folder.
    void ShowResult(const check::CheckResult& result, const std::string& folder);

    // Parts, named for tests and screenshots.
    QLabel* Summary;
    QTreeWidget* List;

Q_SIGNALS:
    void OpenAt(const QString& path, int line);

private:
    void rowActivated(QTreeWidgetItem* item);
};

// "3 errors, 1 warning in 12 pages", or "No problems in 12 pages".
std::string SummaryText(const check::CheckResult& result);

}  // namespace vlr
