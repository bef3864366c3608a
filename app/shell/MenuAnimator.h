// Animates the opening of the main window's drop-down menus: slides, unfolds
// and fades, at normal or double speed.
#pragma once

#include "app/units/Preferences.h"

#include <QObject>

namespace vlr {

class MenuAnimator : public QObject {
    Q_OBJECT
public:
    explicit MenuAnimator(QObject* parent);
    void setAnimation(MenuAnimation kind, bool doubleSpeed);
    MenuAnimation animation() const { return kind_; }
    int durationMs() const { return doubleSpeed_ ? 90 : 180; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MenuAnimation kind_ = MenuAnimation::None;
    bool doubleSpeed_ = true;
    unsigned randomState_ = 2463534242u;
};

}  // namespace vlr
