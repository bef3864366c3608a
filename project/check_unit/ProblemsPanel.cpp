// The problems panel.
#include "project/check_unit/ProblemsPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vlr {
namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

QString shown(const std::string& file, const std::string& folder) {
    if (file.size() > folder.size() + 1 && file.compare(0, folder.size(), folder) == 0 && file[folder.size()] == '/')
        return QString::fromStdString(file.substr(folder.size() + 1));
    return QString::fromStdString(file);
}
}  // namespace

std::string SummaryText(const check::CheckResult& result) {
    const int errors = result.Count(check::Severity::Error);
    const int warnings = result.Count(check::Severity::Warning);
    const std::string pages = std::to_string(result.pages) + (result.pages == 1 ? " page" : " pages");
    if (errors == 0 && warnings == 0)
        return "No problems in " + pages;
    return std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") + std::to_string(warnings) +
           (warnings == 1 ? " warning in " : " warnings in ") + pages;
}

TProblemsPanel::TProblemsPanel(QWidget* parent) : QDockWidget(QStringLiteral("Problems"), parent) {
    setObjectName(QStringLiteral("ProblemsPanel"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    Summary = new QLabel(body);
    Summary->setObjectName(QStringLiteral("Summary"));
    layout->addWidget(Summary);
    List = new QTreeWidget(body);
    List->setObjectName(QStringLiteral("List"));
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);
    List->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Column"),
                           QStringLiteral("Severity"), QStringLiteral("Message"), QStringLiteral("Rule")});
    List->header()->setStretchLastSection(false);
    List->header()->setSectionResizeMode(4, QHeaderView::Stretch);
    layout->addWidget(List, 1);
    setWidget(body);
    connect(List, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { rowActivated(item); });
}

void TProblemsPanel::ShowResult(const check::CheckResult& result, const std::string& folder) {
    Summary->setText(QString::fromStdString(SummaryText(result)));
    List->clear();
    const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QList<QTreeWidgetItem*> rows;
    for (const check::Problem& p : result.problems) {
        const bool isError = p.severity == check::Severity::Error;
        auto* row = new QTreeWidgetItem(
            {shown(p.file, folder), p.line > 0 ? QString::number(p.line) : QString(),
             p.column > 0 ? QString::number(p.column) : QString(),
             isError ? QStringLiteral("error") : QStringLiteral("warning"), QString::fromStdString(p.message),
             QString::fromStdString(p.rule)});
        row->setIcon(3, isError ? error : warning);
        row->setData(0, kPathRole, QString::fromStdString(p.file));
        row->setData(0, kLineRole, p.line);
        if (!p.includedFrom.empty())
            row->setToolTip(0, QStringLiteral("Included from ") +
                                   shown(p.includedFrom.front().file, folder) + QLatin1Char(':') +
                                   QString::number(p.includedFrom.front().line));
        rows.append(row);
    }
    List->addTopLevelItems(rows);
    for (int c = 0; c < 4; ++c)
        List->resizeColumnToContents(c);
}

void TProblemsPanel::rowActivated(QTreeWidgetItem* item) {
    if (!item)
        return;
    Q_EMIT OpenAt(item->data(0, kPathRole).toString(), std::max(1, item->data(0, kLineRole).toInt()));
}

}  // namespace vlr
