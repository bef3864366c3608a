// The main window's status line: nine text panels with fixed widths, the
// progress bar laid over it, the idle and connection icons in panel 0 and the
// two document-kind icons.
#pragma once

#include "app/units/StatusPanels.h"

#include <QWidget>

#include <array>

class QLabel;
class QProgressBar;

namespace vlr {

class StatusLine : public QWidget, public StatusPanels {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 9;
    static constexpr std::array<int, kPanelCount> kPanelWidths = {20, 320, 30, 30, 20, 180, 90, 20, 50};

    explicit StatusLine(QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text) override;
    QString panelText(int panel) const override;
    int panelWidth(int panel) const;

    QProgressBar* progressBar() const { return progress_; }
    // Document kind: "editor", "graphic", or anything else for neither.
    void showDocumentKind(const QString& kind) override;
    QString documentKind() const override { return kind_; }
    void showConnectionActive(bool active) override;
    bool connectionActive() const override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    int progressValue() const override;
    int progressMinimum() const override;

    // Lays out the panels for a main window of this width: panel 1 takes
    // width - 447, the progress bar sits at width - 345 and the document-kind
    // icons at width - 364.
    void layoutFor(int windowWidth);
    int progressLeft() const;
    int kindIconLeft() const;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<QLabel*, kPanelCount> panels_{};
    QProgressBar* progress_;
    QLabel* idleIcon_;
    QLabel* connectionIcon_;
    QLabel* editorIcon_;
    QLabel* graphicIcon_;
    QString kind_;
};

}  // namespace vlr
