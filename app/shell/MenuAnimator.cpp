#include "app/shell/MenuAnimator.h"

#include <QApplication>
#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPropertyAnimation>

namespace vlr {

namespace {

// True when `menu` hangs from `bar`: its item is on the bar, or it is the
// submenu of a menu that hangs from it. The depth stops a menu that lists
// itself from looping.
bool HangsFrom(const QMenu* menu, const QMenuBar* bar, int depth = 0) {
    if (menu == nullptr || bar == nullptr || depth > 16)
        return false;
    for (const QObject* holder : menu->menuAction()->associatedObjects()) {
        if (holder == bar)
            return true;
        if (const auto* parent = qobject_cast<const QMenu*>(holder); parent && parent != menu &&
                                                                   HangsFrom(parent, bar, depth + 1))
            return true;
    }
    return false;
}

}  // namespace

MenuAnimator::MenuAnimator(QMainWindow* window) : QObject(window), window_(window) { qApp->installEventFilter(this); }

bool MenuAnimator::animates(const QMenu* menu) const {
    return kind_ != MenuAnimation::None && window_ != nullptr && HangsFrom(menu, window_->menuBar());
}

void MenuAnimator::setAnimation(MenuAnimation kind, bool doubleSpeed) {
    kind_ = kind;
    doubleSpeed_ = doubleSpeed;
}

bool MenuAnimator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || kind_ == MenuAnimation::None)
        return false;
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!menu || !animates(menu) || QGuiApplication::platformName() == "offscreen")
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
