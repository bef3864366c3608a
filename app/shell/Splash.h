// The start-up window: borderless, always on top, centred, a picture and one
// status label.
#pragma once

#include <QWidget>

class QLabel;

namespace vlr {

class TFrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFrmSplash(QWidget* parent = nullptr);
    void setStatus(const QString& text);
    QString status() const;

private:
    QLabel* label_;
};

}  // namespace vlr
