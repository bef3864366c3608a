#include "app/shell/MenuAnimator.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPropertyAnimation>

namespace vlr {

MenuAnimator::MenuAnimator(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

void MenuAnimator::setAnimation(MenuAnimation kind, bool doubleSpeed) {
    kind_ = kind;
    doubleSpeed_ = doubleSpeed;
}

bool MenuAnimator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || kind_ == MenuAnimation::None)
        return false;
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || QGuiApplication::platformName() == "offscreen")
        return false;
    MenuAnimation kind = kind_;
    if (kind == MenuAnimation::Random) {
        randomState_ ^= randomState_ << 13;
        randomState_ ^= randomState_ >> 17;
        randomState_ ^= randomState_ << 5;
        kind = static_cast<MenuAnimation>(1 + randomState_ % 5);
    }
    QRect end = menu->geometry();
    QRect start = end;
    switch (kind) {
    case MenuAnimation::VSlide: start.setHeight(1); break;
    case MenuAnimation::HSlide: start.setWidth(1); break;
    case MenuAnimation::Unfold: start.setSize(QSize(1, 1)); break;
    case MenuAnimation::Smart: start.setHeight(std::max(1, end.height() / 3)); break;
    case MenuAnimation::Popup: {
        auto* fade = new QPropertyAnimation(menu, "windowOpacity", menu);
        fade->setDuration(durationMs());
        fade->setStartValue(0.0);
        fade->setEndValue(1.0);
        fade->start(QAbstractAnimation::DeleteWhenStopped);
        return false;
    }
    default: return false;
    }
    auto* grow = new QPropertyAnimation(menu, "geometry", menu);
    grow->setDuration(durationMs());
    grow->setStartValue(start);
    grow->setEndValue(end);
    grow->setEasingCurve(QEasingCurve::OutCubic);
    grow->start(QAbstractAnimation::DeleteWhenStopped);
    return false;
}

}  // namespace vlr
