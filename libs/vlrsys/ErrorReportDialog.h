// TFrmErrorReport: the dialog that shows an error report, with a button that
// copies the report's text to the clipboard.
#pragma once

#include "libs/vlrsys/ErrorReport.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vlr::sys {

class TFrmErrorReport : public QDialog {
    Q_OBJECT
public:
    explicit TFrmErrorReport(const ErrorReport& report, QWidget* parent = nullptr);

    // The text the copy button puts on the clipboard.
    const std::string& reportText() const { return text_; }
    void CopyToClipboard();

private:
    std::string text_;
    QLabel* copied_ = nullptr;
};

}  // namespace vlr::sys
