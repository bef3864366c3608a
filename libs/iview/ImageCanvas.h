// ImageCanvas: a scrollable view of one picture with a zoom factor. It paints
// only the visible part, centres a picture smaller than the view, and can
// follow the view's size ("fit").
#pragma once

#include <QAbstractScrollArea>
#include <QPixmap>

namespace vlr::iview {

class ImageCanvas : public QAbstractScrollArea {
    Q_OBJECT
    Q_PROPERTY(double zoom READ zoom NOTIFY zoomChanged)
    Q_PROPERTY(bool fitting READ fitting)
    Q_PROPERTY(QSize imageSize READ imageSize)
public:
    // How the zoom follows the view's size.
    enum class FitMode {
        None,       // the zoom stays as set
        Window,     // the whole picture fills the view, enlarged if need be
        ShrinkOnly  // like Window, but never above 100%
    };

    static constexpr double kMinZoom = 1.0 / 32;
    static constexpr double kMaxZoom = 32.0;

    explicit ImageCanvas(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    QSize imageSize() const { return pixmap_.size(); }

    double zoom() const { return zoom_; }
    bool fitting() const { return mode_ != FitMode::None; }
    FitMode fitMode() const { return mode_; }

    // Fixed zoom, clamped to [kMinZoom, kMaxZoom]; the point of the picture at
    // the centre of the view stays there.
    void setZoom(double zoom);
    void zoomIn();
    void zoomOut();
    void actualSize() { setZoom(1.0); }
    void setFitMode(FitMode mode);

    // The zoom that fits the whole picture into the view (1 for an empty picture).
    double fitZoom() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Zooms keeping the picture point under anchor (viewport coordinates) fixed.
    void zoomAround(double zoom, QPointF anchor);
    void applyFit();
    void updateScrollBars();
    QSizeF scaledSize() const;
    // Top-left corner of the picture in viewport coordinates.
    QPointF origin() const;

    QPixmap pixmap_;
    QPixmap scaledCache_;  // the reduced picture of the current zoom
    bool hasAlpha_ = false;
    double zoom_ = 1.0;
    FitMode mode_ = FitMode::ShrinkOnly;
};

}  // namespace vlr::iview
