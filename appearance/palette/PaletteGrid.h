// The paint box of the colour grid: a fixed 192 x 320 pixel surface that hands
// its paint, mouse-release and double-click events to its owner.
#pragma once

#include <QWidget>

#include <functional>

class QPainter;

namespace vlr {

class TPaletteGrid : public QWidget {
public:
    explicit TPaletteGrid(QWidget* parent = nullptr);

    // Draws the whole grid; called for every repaint.
    std::function<void(QPainter&)> OnPaint;
    // Release of any mouse button over the grid, in grid pixels.
    std::function<void(int x, int y)> OnMouseUp;
    std::function<void()> OnDblClick;
    // A key pressed while the grid has the focus (arrows move, Return inserts). Like the mouse
    // handlers above, these are the owning colour picker's, which alone knows the swatches.
    std::function<void(int key)> OnKey;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace vlr
