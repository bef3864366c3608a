// The error report dialog.
#include "libs/vlrsys/ErrorReportDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace vlr::sys {
namespace {

QString Shown(const std::string& value) {
    return value.empty() ? QStringLiteral("(none)") : QString::fromUtf8(value.data(), static_cast<int>(value.size()));
}

// A value label the user can select and copy from.
QLabel* ValueLabel(const std::string& value, const char* objectName) {
    auto* label = new QLabel(Shown(value));
    label->setObjectName(QLatin1String(objectName));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setWordWrap(true);
    return label;
}

}  // namespace

TFrmErrorReport::TFrmErrorReport(const ErrorReport& report, QWidget* parent)
    : QDialog(parent), text_(FormatErrorReport(report)) {
    setObjectName(QStringLiteral("TFrmErrorReport"));
    setWindowTitle(QStringLiteral("Velora Error Report"));
    setModal(true);
    setMinimumWidth(480);

    auto* icon = new QLabel;
    int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);

    auto* heading = new QLabel(QStringLiteral("An error occurred in Velora."));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    heading->setFont(bold);

    QLabel* message = ValueLabel(report.message, "message");

    auto* details = new QFormLayout;
    details->setLabelAlignment(Qt::AlignRight);
    details->addRow(QStringLiteral("Method:"), ValueLabel(report.methodName, "method"));
    details->addRow(QStringLiteral("Exception:"), ValueLabel(report.exceptionClass, "exceptionClass"));
    details->addRow(QStringLiteral("Version:"), ValueLabel(report.fileVersion, "fileVersion"));
    details->addRow(QStringLiteral("File name:"), ValueLabel(report.fileName, "fileName"));
    details->addRow(QStringLiteral("Preferences:"), ValueLabel(report.preferencesPath, "preferencesPath"));
    details->addRow(QStringLiteral("Time:"), ValueLabel(report.time, "time"));

    auto* advice = new QLabel(QStringLiteral(
        "Velora keeps running. Save your work; if the error comes back, copy this report and keep it "
        "with a note of what you were doing."));
    advice->setWordWrap(true);
    advice->setEnabled(false);

    auto* text = new QVBoxLayout;
    text->addWidget(heading);
    text->addWidget(message);
    text->addSpacing(8);
    text->addLayout(details);
    text->addSpacing(8);
    text->addWidget(advice);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox;
    QPushButton* copy = buttons->addButton(QStringLiteral("&Copy to Clipboard"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyButton"));
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    copied_ = new QLabel;
    copied_->setObjectName(QStringLiteral("copiedNote"));
    connect(copy, &QPushButton::clicked, this, [this] { CopyToClipboard(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(copied_, 1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(bottom);
}

void TFrmErrorReport::CopyToClipboard() {
    QApplication::clipboard()->setText(QString::fromUtf8(text_.data(), static_cast<int>(text_.size())));
    copied_->setText(QStringLiteral("The report is on the clipboard."));
}

}  // namespace vlr::sys
