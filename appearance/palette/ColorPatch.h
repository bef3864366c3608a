// The current-colour patch: a focusable panel filled with one colour value.
#pragma once

#include "appearance/palette/PaletteFile.h"

#include <QFrame>

#include <functional>

namespace vlr {

class TColorPatch : public QFrame {
public:
    explicit TColorPatch(QWidget* parent = nullptr);

    [[nodiscard]] ColorValue Color() const noexcept { return color_; }
    void SetColor(ColorValue color);
    // Return or Space on the focused patch: the owning colour picker inserts the colour (the
    // patch only shows it).
    std::function<void()> OnActivate;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ColorValue color_ = 0;
};

// How a colour is read out: its HTML text and its three components.
[[nodiscard]] QString ColorDescription(ColorValue value);

// The Qt colour of a colour value (its high byte plays no part).
[[nodiscard]] QColor QColorOf(ColorValue value);

}  // namespace vlr
