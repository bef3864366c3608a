// The start-up window: borderless, always on top, centred, a picture and one
// status label. It steps aside while a modal dialog is open (a question asked
// during the start would be hidden under it) and comes back when it closes.
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;

namespace vlr {

class TFrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFrmSplash(QWidget* parent = nullptr);
    void setStatus(const QString& text);
    QString status() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* label_;
    QPointer<QWidget> steppedAsideFor_;  // the dialog the splash is hidden for
    bool closed_ = false;
};

}  // namespace vlr
