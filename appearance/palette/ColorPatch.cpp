// The current-colour patch.
#include "appearance/palette/ColorPatch.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace vlr {

QColor QColorOf(ColorValue value) {
    return QColor(static_cast<int>(RedOf(value)), static_cast<int>(GreenOf(value)), static_cast<int>(BlueOf(value)));
}

TColorPatch::TColorPatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Current color"));
    setAccessibleDescription(ColorDescription(color_));
}

QString ColorDescription(ColorValue value) {
    return QStringLiteral("%1 (red %2, green %3, blue %4)")
        .arg(QString::fromStdString(ColorText(value)))
        .arg(RedOf(value))
        .arg(GreenOf(value))
        .arg(BlueOf(value));
}

void TColorPatch::SetColor(ColorValue color) {
    if (color == color_)
        return;
    color_ = color;
    setAccessibleDescription(ColorDescription(color_));
    update();
}

void TColorPatch::keyPressEvent(QKeyEvent* event) {
    if (OnActivate && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        OnActivate();
        event->accept();
        return;
    }
    QFrame::keyPressEvent(event);
}

void TColorPatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), QColorOf(color_));
        if (hasFocus()) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = contentsRect().adjusted(2, 2, -2, -2);
            option.backgroundColor = QColorOf(color_);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }
    QFrame::paintEvent(event);
}

}  // namespace vlr
