// The paint box of the colour grid.
#include "appearance/palette/PaletteGrid.h"

#include "appearance/palette/SwatchGrid.h"

#include <QMouseEvent>
#include <QPainter>

namespace vlr {

TPaletteGrid::TPaletteGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox2"));
    setFixedSize(kGridWidth, kGridHeight);
    setCursor(Qt::PointingHandCursor);
    // Every pixel is painted each time.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
