// The picture viewer window.
#include "libs/iview/ImageViewWindow.h"

#include "libs/iview/ImageCanvas.h"
#include "platform/Record.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace vlr::iview {
namespace {

constexpr unsigned kSetImage = 2322;

QAction* AddAction(QToolBar* bar, const char* name, const char* text, const char* icon, const char* tip,
                   QList<QKeySequence> keys) {
    QAction* a = bar->addAction(QIcon::fromTheme(QLatin1String(icon)), QString::fromUtf8(text));
    a->setObjectName(QLatin1String(name));
    a->setToolTip(QString::fromUtf8(tip));
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    return a;
}

}  // namespace

TFrmImageView::TFrmImageView(const QString& path, const QImage& image, Handle mainWindow, QWidget* parent)
    : QWidget(parent), path_(path), mainWindow_(mainWindow) {
    setObjectName(QLatin1String(kClassName));
    setWindowTitle(QFileInfo(path).fileName());
    setToolTip(path);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("image-x-generic")));

    canvas_ = new ImageCanvas;
    canvas_->setToolTip(path);

    auto* bar = new QToolBar;
    bar->setObjectName(QStringLiteral("ViewerToolbar"));
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* zoomIn = AddAction(bar, "ZoomIn", "Zoom In", "zoom-in", "Enlarge the picture (+, Ctrl+wheel)",
                                {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence::ZoomIn});
    QAction* zoomOut = AddAction(bar, "ZoomOut", "Zoom Out", "zoom-out", "Reduce the picture (-, Ctrl+wheel)",
                                 {QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut});
    QAction* actual = AddAction(bar, "ActualSize", "100%", "zoom-original", "Show the picture at its own size (1)",
                                {QKeySequence(Qt::Key_1), QKeySequence(Qt::CTRL | Qt::Key_0)});
    fit_ = AddAction(bar, "FitToWindow", "Fit", "zoom-fit-best", "Fit the whole picture into the window (F)",
                     {QKeySequence(Qt::Key_F), QKeySequence(Qt::Key_0)});
    fit_->setCheckable(true);
    addActions({zoomIn, zoomOut, actual, fit_});

    connect(zoomIn, &QAction::triggered, canvas_, &ImageCanvas::zoomIn);
    connect(zoomOut, &QAction::triggered, canvas_, &ImageCanvas::zoomOut);
    connect(actual, &QAction::triggered, canvas_, &ImageCanvas::actualSize);
    connect(fit_, &QAction::toggled, this, [this](bool on) {
        if (on)
            canvas_->setFitMode(ImageCanvas::FitMode::Window);
        else
            canvas_->setZoom(canvas_->zoom());
        UpdateStatus();
    });
    connect(canvas_, &ImageCanvas::zoomChanged, this, [this] { UpdateStatus(); });

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("ViewerStatus"));
    status_->setContentsMargins(6, 2, 6, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(canvas_, 1);
    layout->addWidget(status_);

    canvas_->setImage(image);
    UpdateStatus();
    setFocusProxy(canvas_);

    handle_ = RegisterWindow(this, kClassName, this);
    setProperty("vlrHandle", QVariant::fromValue<Handle>(handle_));
}

TFrmImageView::~TFrmImageView() { UnregisterWindow(handle_); }

void TFrmImageView::setImage(const QImage& image) {
    canvas_->setFitMode(ImageCanvas::FitMode::ShrinkOnly);
    canvas_->setImage(image);
    UpdateStatus();
}

void TFrmImageView::attachTo(QMdiSubWindow* subWindow) {
    subWindow_ = subWindow;
    connect(subWindow, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                if (!(before & Qt::WindowActive) && (now & Qt::WindowActive))
                    SendDocumentKind("graphic");
            });
}

void TFrmImageView::reveal() {
    if (subWindow_) {
        if (subWindow_->isMinimized())
            subWindow_->showNormal();
        if (QMdiArea* area = subWindow_->mdiArea())
            area->setActiveSubWindow(subWindow_);
        return;
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

// The viewer keeps no document the program could ask about or change, so no
// message has an effect on it.
LResult TFrmImageView::handleMessage(unsigned, WParam, LParam) { return 0; }

void TFrmImageView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isWindow() && isActiveWindow())
        SendDocumentKind("graphic");
}

void TFrmImageView::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // Closing the last document leaves no kind to show.
    if (subWindow_ && subWindow_->mdiArea()) {
        const QList<QMdiSubWindow*> windows = subWindow_->mdiArea()->subWindowList();
        bool othersRemain = false;
        for (QMdiSubWindow* w : windows)
            if (w != subWindow_)
                othersRemain = true;
        if (!othersRemain)
            SendDocumentKind("none");
    }
}

void TFrmImageView::SendDocumentKind(const char* kind) {
    if (!IsWindow(mainWindow_))
        return;
    // The main window takes the record over and releases it, whatever happens.
    RecordPtr record = MakeRecord(kind);
    try {
        SendMessage(mainWindow_, kSetImage, 0, reinterpret_cast<LParam>(record.release()));
    } catch (...) {
        // Called from a Qt event: nothing above would catch it.
        ReportUnhandledException(std::current_exception());
    }
}

void TFrmImageView::UpdateStatus() {
    QSize size = canvas_->imageSize();
    int percent = int(std::lround(canvas_->zoom() * 100));
    status_->setText(QStringLiteral("%1 \u00D7 %2 pixels    %3%").arg(size.width()).arg(size.height()).arg(percent));
    QSignalBlocker block(fit_);
    fit_->setChecked(canvas_->fitMode() == ImageCanvas::FitMode::Window);
}

}  // namespace vlr::iview
