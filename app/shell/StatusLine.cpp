#include "app/shell/StatusLine.h"

#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QStyle>

namespace vlr {
namespace {
constexpr int kHeight = 22;

QPixmap iconPixmap(const char* themeName, const char* fallback, QStyle* style, QStyle::StandardPixmap sp) {
    QIcon icon = QIcon::fromTheme(themeName, QIcon(fallback));
    if (icon.isNull() || icon.availableSizes().isEmpty())
        icon = QIcon(fallback);
    if (icon.isNull())
        icon = style->standardIcon(sp);
    return icon.pixmap(16, 16);
}
}  // namespace

StatusLine::StatusLine(QWidget* parent) : QWidget(parent) {
    setObjectName("StatusBar1");
    setFixedHeight(kHeight);
    for (int i = 0; i < kPanelCount; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setIndent(3);
        l->setTextFormat(Qt::PlainText);
        panels_[static_cast<std::size_t>(i)] = l;
    }
    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar1");
    progress_->setRange(0, 6000);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setFixedSize(150, kHeight - 6);

    idleIcon_ = new QLabel(this);
    idleIcon_->setObjectName("IdleIcon");
    idleIcon_->setPixmap(iconPixmap("network-offline", ":/shell/idle.svg", style(), QStyle::SP_DialogNoButton));
    connectionIcon_ = new QLabel(this);
    connectionIcon_->setObjectName("ConnectionIcon");
    connectionIcon_->setToolTip("Internet Connection Active");
    connectionIcon_->setPixmap(iconPixmap("network-transmit-receive", ":/shell/connection.svg", style(),
                                          QStyle::SP_DriveNetIcon));
    connectionIcon_->hide();

    editorIcon_ = new QLabel(this);
    editorIcon_->setObjectName("EditorKindIcon");
    editorIcon_->setToolTip("Editor");
    editorIcon_->setPixmap(iconPixmap("text-html", ":/shell/kind-editor.svg", style(), QStyle::SP_FileIcon));
    editorIcon_->hide();
    graphicIcon_ = new QLabel(this);
    graphicIcon_->setObjectName("GraphicKindIcon");
    graphicIcon_->setToolTip("Picture");
    graphicIcon_->setPixmap(iconPixmap("image-x-generic", ":/shell/kind-graphic.svg", style(),
                                       QStyle::SP_DesktopIcon));
    graphicIcon_->hide();
    layoutFor(800);
}

void StatusLine::setPanelText(int panel, const QString& text) {
    if (panel >= 0 && panel < kPanelCount)
        panels_[static_cast<std::size_t>(panel)]->setText(text);
}

QString StatusLine::panelText(int panel) const {
    if (panel < 0 || panel >= kPanelCount)
        return {};
    return panels_[static_cast<std::size_t>(panel)]->text();
}

int StatusLine::panelWidth(int panel) const { return panels_[static_cast<std::size_t>(panel)]->width(); }

void StatusLine::showDocumentKind(const QString& kind) {
    kind_ = kind;
    editorIcon_->setVisible(kind == "editor");
    graphicIcon_->setVisible(kind == "graphic");
    if (kind != "editor" && kind != "graphic")
        for (int p : {2, 3, 5, 6})
            setPanelText(p, QString());
}

void StatusLine::showConnectionActive(bool active) {
    connectionIcon_->setVisible(active);
    idleIcon_->setVisible(!active);
}

bool StatusLine::connectionActive() const { return !connectionIcon_->isHidden(); }

void StatusLine::layoutFor(int windowWidth) {
    int x = 0;
    for (int i = 0; i < kPanelCount; ++i) {
        int w = kPanelWidths[static_cast<std::size_t>(i)];
        if (i == 1)
            w = std::max(0, windowWidth - 447);
        panels_[static_cast<std::size_t>(i)]->setGeometry(x, 0, w, kHeight);
        x += w;
    }
    int iconTop = (kHeight - 16) / 2;
    idleIcon_->setGeometry(2, iconTop, 16, 16);
    connectionIcon_->setGeometry(2, iconTop, 16, 16);
    progress_->move(progressLeft(), 3);
    editorIcon_->setGeometry(kindIconLeft(), iconTop, 16, 16);
    graphicIcon_->setGeometry(kindIconLeft(), iconTop, 16, 16);
    editorIcon_->raise();
    graphicIcon_->raise();
    progress_->raise();
}

int StatusLine::progressLeft() const { return width() - 345; }

int StatusLine::kindIconLeft() const { return width() - 364; }

QSize StatusLine::sizeHint() const { return QSize(800, kHeight); }

void StatusLine::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutFor(event->size().width());
}

void StatusLine::setProgressMaximum(int maximum) { progress_->setMaximum(maximum); }
void StatusLine::setProgressValue(int value) { progress_->setValue(value); }
int StatusLine::progressValue() const { return progress_->value(); }
int StatusLine::progressMinimum() const { return progress_->minimum(); }

}  // namespace vlr
