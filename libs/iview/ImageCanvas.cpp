// The picture view of the image viewer.
#include "libs/iview/ImageCanvas.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace vlr::iview {
namespace {

// The steps of Zoom In and Zoom Out.
constexpr double kZoomSteps[] = {1.0 / 32, 1.0 / 24, 1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6, 1.0 / 4,
                                 1.0 / 3,  1.0 / 2,  2.0 / 3,  1.0,      1.5,      2.0,      3.0,
                                 4.0,      6.0,      8.0,      12.0,     16.0,     24.0,     32.0};

// Drawn under pictures with transparent parts.
QBrush CheckerBrush() {
    QPixmap tile(16, 16);
    tile.fill(QColor(0xCC, 0xCC, 0xCC));
    QPainter p(&tile);
    p.fillRect(0, 0, 8, 8, QColor(0xFF, 0xFF, 0xFF));
    p.fillRect(8, 8, 8, 8, QColor(0xFF, 0xFF, 0xFF));
    return QBrush(tile);
}

double NextStep(double zoom) {
    const double* next = std::find_if(std::begin(kZoomSteps), std::end(kZoomSteps),
                                      [zoom](double step) { return step > zoom * 1.0001; });
    return next == std::end(kZoomSteps) ? ImageCanvas::kMaxZoom : *next;
}

double PreviousStep(double zoom) {
    double previous = ImageCanvas::kMinZoom;
    for (double step : kZoomSteps)
        if (step < zoom * 0.9999)
            previous = step;
    return previous;
}

}  // namespace

ImageCanvas::ImageCanvas(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("ImageCanvas"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageCanvas::setImage(const QImage& image) {
    pixmap_ = QPixmap::fromImage(image);
    hasAlpha_ = image.hasAlphaChannel();
    scaledCache_ = QPixmap();
    if (mode_ != FitMode::None)
        applyFit();
    else
        updateScrollBars();
    viewport()->update();
}

double ImageCanvas::fitZoom() const {
    if (pixmap_.isNull())
        return 1.0;
    QSize room = maximumViewportSize();
    double z = std::min(double(room.width()) / pixmap_.width(), double(room.height()) / pixmap_.height());
    return std::clamp(z, kMinZoom, kMaxZoom);
}

void ImageCanvas::setZoom(double zoom) {
    mode_ = FitMode::None;
    zoomAround(zoom, QRectF(viewport()->rect()).center());
}

void ImageCanvas::zoomIn() { setZoom(NextStep(zoom_)); }

void ImageCanvas::zoomOut() { setZoom(PreviousStep(zoom_)); }

void ImageCanvas::setFitMode(FitMode mode) {
    mode_ = mode;
    if (mode_ != FitMode::None)
        applyFit();
}

void ImageCanvas::applyFit() {
    double z = fitZoom();
    if (mode_ == FitMode::ShrinkOnly)
        z = std::min(z, 1.0);
    bool changed = z != zoom_;
    zoom_ = z;
    updateScrollBars();
    viewport()->update();
    if (changed)
        Q_EMIT zoomChanged(zoom_);
}

void ImageCanvas::zoomAround(double zoom, QPointF anchor) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == zoom_)
        return;
    QPointF picturePoint = (anchor - origin()) / zoom_;
    zoom_ = zoom;
    updateScrollBars();
    QPointF wanted = picturePoint * zoom_ - anchor;
    horizontalScrollBar()->setValue(int(std::lround(wanted.x())));
    verticalScrollBar()->setValue(int(std::lround(wanted.y())));
    viewport()->update();
    Q_EMIT zoomChanged(zoom_);
}

QSizeF ImageCanvas::scaledSize() const { return QSizeF(pixmap_.size()) * zoom_; }

QPointF ImageCanvas::origin() const {
    QSizeF picture = scaledSize();
    QSize view = viewport()->size();
    double x = picture.width() < view.width() ? (view.width() - picture.width()) / 2
                                              : -double(horizontalScrollBar()->value());
    double y = picture.height() < view.height() ? (view.height() - picture.height()) / 2
                                                 : -double(verticalScrollBar()->value());
    return QPointF(std::floor(x), std::floor(y));
}

void ImageCanvas::updateScrollBars() {
    QSize picture = scaledSize().toSize();
    QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, picture.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(24);
    verticalScrollBar()->setRange(0, std::max(0, picture.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(24);
}

QSize ImageCanvas::sizeHint() const {
    int frame = 2 * frameWidth();
    return (pixmap_.isNull() ? QSize(320, 240) : pixmap_.size()).boundedTo(QSize(1600, 1200)) + QSize(frame, frame);
}

void ImageCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    p.fillRect(event->rect(), palette().color(QPalette::Window).darker(125));
    if (pixmap_.isNull())
        return;
    QRectF target(origin(), scaledSize());
    if (hasAlpha_) {
        p.setBrushOrigin(target.topLeft());
        p.fillRect(target.intersected(QRectF(event->rect())), CheckerBrush());
    }
    if (zoom_ < 1.0) {
        // Reduced pictures are scaled once per zoom with area sampling, which
        // keeps fine detail that per-paint sampling would alias away.
        QSize size = target.size().toSize().expandedTo(QSize(1, 1));
        if (scaledCache_.size() != size)
            scaledCache_ = pixmap_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.drawPixmap(target.topLeft(), scaledCache_);
        return;
    }
    // Enlarged far enough that single pixels show: keep their edges sharp.
    p.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 2.0);
    p.drawPixmap(target, pixmap_, QRectF(pixmap_.rect()));
}

void ImageCanvas::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (mode_ != FitMode::None)
        applyFit();
    else
        updateScrollBars();
}

void ImageCanvas::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    mode_ = FitMode::None;
    zoomAround(delta > 0 ? NextStep(zoom_) : PreviousStep(zoom_), event->position());
    event->accept();
}

void ImageCanvas::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace vlr::iview
