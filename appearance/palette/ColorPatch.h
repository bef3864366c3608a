// The current-colour patch: a focusable panel filled with one colour value.
#pragma once

#include "appearance/palette/PaletteFile.h"

#include <QFrame>

namespace vlr {

class TColorPatch : public QFrame {
public:
    explicit TColorPatch(QWidget* parent = nullptr);

    [[nodiscard]] ColorValue Color() const noexcept { return color_; }
    void SetColor(ColorValue color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColorValue color_ = 0;
};

// The Qt colour of a colour value (its high byte plays no part).
[[nodiscard]] QColor QColorOf(ColorValue value);

}  // namespace vlr
