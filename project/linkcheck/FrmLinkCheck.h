// The site link check window: progress while the links of the built pages
// are checked, a cancel button, and the broken links with page and line.
// Double-clicking a row asks for the row's source page to be opened there.
#pragma once

#include "libs/validate/SiteLinkCheck.h"

#include <QDialog>

#include <memory>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace vlr {

class TFrmLinkCheck : public QDialog {
    Q_OBJECT
public:
    explicit TFrmLinkCheck(QWidget* parent = nullptr);
    ~TFrmLinkCheck() override;

    // Starts checking the site (any check still running is cancelled).
    void Start(const std::string& outputDir, const std::string& sourceDir,
               validate::ProbeOptions options = {});
    void Cancel();
    [[nodiscard]] bool Running() const;

    // Parts, named for tests and screenshots.
    QLabel* StatusLabel;
    QProgressBar* Progress;
    QTreeWidget* Results;
    QPushButton* CancelButton;
    QPushButton* CloseButton;

Q_SIGNALS:
    // A row was double-clicked: open `path` at `line`.
    void OpenAt(const QString& path, int line);
    // The check ended (done or cancelled).
    void Finished();

private:
    void step();
    void showResults();
    void rowActivated(QTreeWidgetItem* item);

    std::unique_ptr<validate::SiteLinkCheck> check_;
    QTimer* timer_;
};

}  // namespace vlr
