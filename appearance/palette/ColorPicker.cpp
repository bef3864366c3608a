// TColorPicker: the colour palette page of the side panel.
#include "appearance/palette/ColorPicker.h"

#include "appearance/palette/ColorPatch.h"
#include "appearance/palette/PaletteGrid.h"
#include "appearance/palette/SwatchGrid.h"
#include "platform/Prompter.h"
#include "platform/System.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

namespace {

const char* const kSwatchFilter =
    "All Palettes (*.act, *.pal)|*.act;*.pal|Photoshop Palette (*.act)|*.act|Palette File (.pal)|*.pal";

const QColor kOutlineGrey(170, 170, 170);

// Gap between the current-colour group and the edges of its panel.
constexpr int kGroupMargin = 4;

// The grid's scrolling area: tells its owner after every change of size,
// including the viewport's when a scroll bar comes or goes.
class TScrollBox : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    std::function<void()> OnResize;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        if (OnResize)
            OnResize();
    }
};

}  // namespace

TColorPicker::TColorPicker(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Colors"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    buildCaptionLine();

    auto* scrollBox = new TScrollBox(this);
    ScrollBox1_ = scrollBox;
    ScrollBox1_->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1_->setFrameStyle(QFrame::NoFrame);
    ScrollBox1_->setWidgetResizable(false);
    gridHolder_ = new QWidget;
    gridHolder_->setObjectName(QStringLiteral("GridHolder"));
    PaintBox2_ = new TPaletteGrid(gridHolder_);
    PaintBox2_->OnPaint = [this](QPainter& canvas) { PaintBox2Paint(canvas); };
    PaintBox2_->OnMouseUp = [this](int x, int y) { PaintBox2MouseUp(x, y); };
    PaintBox2_->OnDblClick = [this] { PaintBox2DblClick(); };
    PaintBox2_->OnKey = [this](int key) { PaintBox2Key(key); };
    gridHolder_->resize(kGridWidth, kGridHeight);
    ScrollBox1_->setWidget(gridHolder_);
    scrollBox->OnResize = [this] { ScrollBox1Resize(); };
    layout->addWidget(ScrollBox1_, 1);

    buildCurrentColorGroup();
    layout->addWidget(Panel3_);
}

TColorPicker::~TColorPicker() = default;

void TColorPicker::buildCaptionLine() {
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Panel1"));
    line->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(2, 1, 1, 1);
    row->setSpacing(2);

    Label1_ = new QLabel(QStringLiteral(" Palette: "), line);
    Label1_->setObjectName(QStringLiteral("Label1"));
    // A long palette name is cut off rather than widening the side panel.
    Label1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont bold = Label1_->font();
    bold.setBold(true);
    Label1_->setFont(bold);
    row->addWidget(Label1_, 1);

    PopupMenu1_ = new QMenu(this);
    LoadPalette1_ = PopupMenu1_->addAction(QStringLiteral("&Load Palette"));
    LoadPalette1_->setObjectName(QStringLiteral("LoadPalette1"));
    connect(LoadPalette1_, &QAction::triggered, this, [this] { LoadPalette1Click(); });

    SpeedButton1_ = new QToolButton(line);
    SpeedButton1_->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1_->setArrowType(Qt::DownArrow);
    SpeedButton1_->setAutoRaise(true);
    SpeedButton1_->setPopupMode(QToolButton::InstantPopup);
    SpeedButton1_->setMenu(PopupMenu1_);
    SpeedButton1_->setToolTip(QStringLiteral("Palette"));
    // The menu's own arrow would repeat the button's.
    SpeedButton1_->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    row->addWidget(SpeedButton1_);

    layout()->addWidget(line);
}

void TColorPicker::buildCurrentColorGroup() {
    Panel3_ = new QWidget(this);
    Panel3_->setObjectName(QStringLiteral("Panel3"));
    GroupBox1_ = new QGroupBox(QStringLiteral("Current color:"), Panel3_);
    GroupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(GroupBox1_);
    grid->setContentsMargins(8, 4, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    ColorPatch_ = new TColorPatch(GroupBox1_);
    ColorPatch_->setObjectName(QStringLiteral("ColorPatch"));
    ColorPatch_->setFixedSize(56, 56);
    ColorPatch_->OnActivate = [this] { ColorClick(*ColorPatch_); };
    grid->addWidget(ColorPatch_, 0, 0, 3, 1, Qt::AlignVCenter);

    // Display only: the fields show the chosen colour and take no input.
    auto addField = [&](int row, const QString& label, const QString& name) {
        auto* caption = new QLabel(label, GroupBox1_);
        auto* field = new QLineEdit(QStringLiteral("0"), GroupBox1_);
        field->setObjectName(name);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setAlignment(Qt::AlignRight);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        caption->setBuddy(field);
        grid->addWidget(caption, row, 1);
        grid->addWidget(field, row, 2);
        return field;
    };
    RedEdit_ = addField(0, QStringLiteral("Red:"), QStringLiteral("RedEdit"));
    GreenEdit_ = addField(1, QStringLiteral("Green:"), QStringLiteral("GreenEdit"));
    BlueEdit_ = addField(2, QStringLiteral("Blue:"), QStringLiteral("BlueEdit"));

    GroupBox1_->setFixedSize(GroupBox1_->sizeHint());
    Panel3_->setFixedHeight(GroupBox1_->height() + 2 * kGroupMargin);
    Panel3_->installEventFilter(this);
    Panel3Resize();
}

bool TColorPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel3_ && event->type() == QEvent::Resize)
        Panel3Resize();
    return QWidget::eventFilter(watched, event);
}

void TColorPicker::LoadPalette(const std::string& fileName, bool ask) {
    std::string file = fileName;
    if (ask) {
        FileDialogRequest request;
        request.title = "Open Swatch";
        request.filter = kSwatchFilter;
        request.initialDir = AppDir() + "swatches";
        request.mustExist = true;
        auto chosen = CurrentPrompter().OpenFiles(request);
        if (!chosen || chosen->empty())
            return;
        file = chosen->front();
    }
    // The caption names the file even when reading it fails.
    Label1_->setText(QStringLiteral(" Palette: ") + QString::fromStdString(PaletteDisplayName(file)));
    ReadPaletteFile(file, paletteColors_);
    PaintBox2_->repaint();
}

void TColorPicker::loadDefaultPalette(const std::string& appDir) {
    LoadPalette(appDir + "swatches/Web Safe.pal", false);
    selectedSwatch_ = 1;
    PaintBox2_->repaint();
}

void TColorPicker::LoadPalette1Click() {
    try {
        LoadPalette({}, true);
    } catch (...) {
        std::exception_ptr error = std::current_exception();
        if (errorHandler_) {
            errorHandler_(error);
            return;
        }
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            ShowMessage(MessageKind::Error, "", e.what());
        } catch (...) {
            ShowMessage(MessageKind::Error, "", "The palette could not be loaded.");
        }
    }
}

void TColorPicker::PaintBox2Paint(QPainter& canvas) const {
    for (int n = 1; n <= kShownSwatches; ++n) {
        const QRect cell(kCellSize * SwatchColumn(n), kCellSize * SwatchRow(n), kCellSize, kCellSize);
        const QColor fill = QColorOf(paletteColors_[static_cast<std::size_t>(n - 1)]);
        // A grey outline around the colour; the chosen swatch has a white
        // frame just inside it.
        canvas.fillRect(cell, kOutlineGrey);
        if (n == selectedSwatch_) {
            canvas.fillRect(cell.adjusted(1, 1, -1, -1), Qt::white);
            canvas.fillRect(cell.adjusted(2, 2, -2, -2), fill);
            // With the keyboard on the grid, the chosen swatch carries a black outline too.
            if (PaintBox2_->hasFocus()) {
                canvas.setPen(Qt::black);
                canvas.drawRect(cell.adjusted(0, 0, -1, -1));
            }
        } else {
            canvas.fillRect(cell.adjusted(1, 1, -1, -1), fill);
        }
    }
}

void TColorPicker::PaintBox2MouseUp(int X, int Y) {
    ColorPatch_->setFocus(Qt::MouseFocusReason);
    if (int n = SwatchAt(X, Y))
        selectedSwatch_ = n;
    // Until a swatch has been chosen there is no colour to show.
    if (selectedSwatch_ > 0)
        showCurrentColor(paletteColors_[static_cast<std::size_t>(selectedSwatch_ - 1)]);
    PaintBox2_->repaint();
}

void TColorPicker::showCurrentColor(ColorValue color) {
    ColorPatch_->SetColor(color);
    RedEdit_->setText(QString::number(RedOf(color)));
    GreenEdit_->setText(QString::number(GreenOf(color)));
    BlueEdit_->setText(QString::number(BlueOf(color)));
}

void TColorPicker::PaintBox2DblClick() { ColorClick(*ColorPatch_); }

void TColorPicker::PaintBox2Key(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        if (selectedSwatch_ > 0)
            ColorClick(*ColorPatch_);
        return;
    }
    int n = selectedSwatch_ > 0 ? selectedSwatch_ : 1;
    if (selectedSwatch_ > 0) {
        const int row = SwatchRow(n), column = SwatchColumn(n);
        if (key == Qt::Key_Left && column > 0) --n;
        else if (key == Qt::Key_Right && column + 1 < kGridColumns) ++n;
        else if (key == Qt::Key_Up && row > 0) n -= kGridColumns;
        else if (key == Qt::Key_Down && row + 1 < kGridRows) n += kGridColumns;
        else if (key == Qt::Key_Home) n = 1;
        else if (key == Qt::Key_End) n = kShownSwatches;
    }
    selectedSwatch_ = n;
    const ColorValue color = paletteColors_[static_cast<std::size_t>(n - 1)];
    showCurrentColor(color);
    // A reader announces the swatch the keys reached.
    PaintBox2_->setAccessibleDescription(ColorDescription(color));
    const QRect cell(kCellSize * SwatchColumn(n), kCellSize * SwatchRow(n), kCellSize, kCellSize);
    ScrollBox1_->ensureVisible(PaintBox2_->x() + cell.center().x(), PaintBox2_->y() + cell.center().y(), kCellSize,
                               kCellSize);
    PaintBox2_->repaint();
}

void TColorPicker::ColorClick(const TColorPatch& panel) {
    Q_EMIT colorInsertRequested(QString::fromLatin1(ColorText(panel.Color())));
}

void TColorPicker::ScrollBox1Resize() {
    const QWidget* viewport = ScrollBox1_->viewport();
    const int roomX = viewport->width();
    const int roomY = viewport->height();
    const int width = std::max(roomX, kGridWidth);
    const int height = std::max(roomY, kGridHeight);
    if (gridHolder_->size() != QSize(width, height))
        gridHolder_->resize(width, height);
    PaintBox2_->move(CentredOffset(width, kGridWidth), CentredOffset(height, kGridHeight));
    // An area too small for the grid shows its middle, as centring with a
    // negative spare room would, while the scroll bars still reach all of it.
    if (roomX < kGridWidth)
        ScrollBox1_->horizontalScrollBar()->setValue(-CentredOffset(roomX, kGridWidth));
    if (roomY < kGridHeight)
        ScrollBox1_->verticalScrollBar()->setValue(-CentredOffset(roomY, kGridHeight));
}

void TColorPicker::Panel3Resize() {
    GroupBox1_->move(CentredOffset(Panel3_->width(), GroupBox1_->width()), kGroupMargin);
}

QString TColorPicker::PaletteCaption() const { return Label1_->text(); }

ColorValue TColorPicker::CurrentColor() const noexcept { return ColorPatch_->Color(); }

}  // namespace vlr
