// The paint box of the colour grid.
#include "appearance/palette/PaletteGrid.h"

#include "appearance/palette/SwatchGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vlr {

TPaletteGrid::TPaletteGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox2"));
    setFixedSize(kGridWidth, kGridHeight);
    setCursor(Qt::PointingHandCursor);
    // Every pixel is painted each time.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The arrow keys choose swatches, so the grid is reachable without the mouse.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Color grid"));
}

void TPaletteGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (OnKey) {
            OnKey(event->key());
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TPaletteGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TPaletteGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TPaletteGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (OnPaint)
        OnPaint(painter);
}

void TPaletteGrid::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    // The grid keeps the mouse while a button is held; a release dragged
    // outside it is not a release over the grid.
    if (OnMouseUp && rect().contains(at))
        OnMouseUp(at.x(), at.y());
}

void TPaletteGrid::mouseDoubleClickEvent(QMouseEvent*) {
    if (OnDblClick)
        OnDblClick();
}

}  // namespace vlr
