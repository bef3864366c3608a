// Animates the opening of the main window's drop-down menus (the menus of its
// menu bar and their submenus; context menus and toolbar drop-downs open
// plainly): slides, unfolds and fades, at normal or double speed.
#pragma once

#include "app/units/Preferences.h"

#include <QObject>

class QMainWindow;
class QMenu;

namespace vlr {

class MenuAnimator : public QObject {
    Q_OBJECT
public:
    // `window` is the main window whose menu bar's menus are animated.
    explicit MenuAnimator(QMainWindow* window);
    void setAnimation(MenuAnimation kind, bool doubleSpeed);
    MenuAnimation animation() const { return kind_; }
    // True when `menu` opens with the animation: one is chosen and the menu
    // drops down from the window's menu bar, directly or as a submenu.
    bool animates(const QMenu* menu) const;
    int durationMs() const { return doubleSpeed_ ? 90 : 180; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow* window_;
    MenuAnimation kind_ = MenuAnimation::None;
    bool doubleSpeed_ = true;
    unsigned randomState_ = 2463534242u;
};

}  // namespace vlr
