// What a unit may do with the main window's status line: the text of its
// panels, the document-kind and connection icons, and the progress gauge.
#pragma once

#include <QString>

namespace vlr {

class StatusPanels {
public:
    virtual ~StatusPanels() = default;

    virtual void setPanelText(int panel, const QString& text) = 0;
    virtual QString panelText(int panel) const = 0;
    // Document kind: "editor", "graphic", or anything else for neither.
    virtual void showDocumentKind(const QString& kind) = 0;
    virtual QString documentKind() const = 0;
    virtual void showConnectionActive(bool active) = 0;
    virtual bool connectionActive() const = 0;

    // The progress gauge laid over the status line.
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
    virtual int progressValue() const = 0;
    virtual int progressMinimum() const = 0;
};

}  // namespace vlr
