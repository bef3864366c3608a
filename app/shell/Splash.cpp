#include "app/shell/Splash.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

static void initSplashResources() { Q_INIT_RESOURCE(shell); }

namespace vlr {

TFrmSplash::TFrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    initSplashResources();
    setObjectName("FrmSplash");
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->setSpacing(6);
    auto* picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setPixmap(QPixmap(":/shell/splash.svg").scaled(420, 240, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    label_ = new QLabel("Loading, please wait...", this);
    label_->setObjectName("Label1");
    label_->setAlignment(Qt::AlignCenter);
    layout->addWidget(label_);
    setStyleSheet("vlr--TFrmSplash { background: #ffffff; border: 1px solid #3a5a8c; }"
                  "QLabel#Label1 { color: #1f3556; }");
    setFixedSize(422, 276);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = screen->availableGeometry();
        move(r.center() - rect().center());
    }
    qApp->installEventFilter(this);
}

bool TFrmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (closed_ || !watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && w != this && w->isWindow() && w->isModal() && isVisible() &&
        !steppedAsideFor_) {
        steppedAsideFor_ = w;
        hide();
    } else if (event->type() == QEvent::Hide && w == steppedAsideFor_) {
        steppedAsideFor_ = nullptr;
        show();
    }
    return false;
}

void TFrmSplash::closeEvent(QCloseEvent* event) {
    closed_ = true;
    steppedAsideFor_ = nullptr;
    qApp->removeEventFilter(this);
    QWidget::closeEvent(event);
}

void TFrmSplash::setStatus(const QString& text) {
    label_->setText(text);
    label_->repaint();
}

QString TFrmSplash::status() const { return label_->text(); }

}  // namespace vlr
