// TFrmImageView: the picture viewer window, a child window of the main
// window's document area (or a window of its own when there is none). It is a
// registered window, and tells the main window when it becomes the active
// document so the main window shows the "graphic" document kind.
#pragma once

#include "platform/Window.h"

#include <QImage>
#include <QWidget>

class QAction;
class QLabel;
class QMdiSubWindow;

namespace vlr::iview {

class ImageCanvas;

class TFrmImageView : public QWidget, public MessageHandler {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TFrmImageView";

    // path: the absolute path of the picture, shown in the title (file name)
    // and the tool tip (full path).
    TFrmImageView(const QString& path, const QImage& image, Handle mainWindow, QWidget* parent = nullptr);
    ~TFrmImageView() override;

    Handle handle() const { return handle_; }
    const QString& path() const { return path_; }
    ImageCanvas* canvas() const { return canvas_; }

    // Shows a new reading of the picture (the file may have changed), fitted
    // to the window like a fresh one.
    void setImage(const QImage& image);

    // Makes the viewer report "graphic" each time its document-area window
    // becomes the active one.
    void attachTo(QMdiSubWindow* subWindow);

    // Brings the viewer to the front and makes it the active window.
    void reveal();

    LResult handleMessage(unsigned msg, WParam wParam, LParam lParam) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SendDocumentKind(const char* kind);
    void UpdateStatus();

    QString path_;
    Handle mainWindow_;
    Handle handle_ = 0;
    QMdiSubWindow* subWindow_ = nullptr;
    ImageCanvas* canvas_ = nullptr;
    QLabel* status_ = nullptr;
    QAction* fit_ = nullptr;
};

}  // namespace vlr::iview
