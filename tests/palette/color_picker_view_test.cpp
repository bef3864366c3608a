// The colour picker page as drawn: the grid's pixels, centring, and a screenshot.
#include "appearance/palette/ColorPicker.h"
#include "appearance/palette/PaletteGrid.h"
#include "appearance/palette/SwatchGrid.h"
#include "palette_test_support.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>

namespace {

using vlr::TColorPicker;

QRgb rgbOf(vlr::ColorValue v) { return qRgb(vlr::RedOf(v), vlr::GreenOf(v), vlr::BlueOf(v)); }

// The cell's top-left pixel, for swatch n.
QPoint cellOrigin(int n) { return {16 * vlr::SwatchColumn(n), 16 * vlr::SwatchRow(n)}; }

TEST(ColorPickerView, GridDrawsGreyOutlinesAndAWhiteFrameForTheChoice) {
    TempAppDir app;
    app.installWebSafe();
    TColorPicker picker;
    picker.loadDefaultPalette(app.dir());
    picker.PaintBox2MouseUp(16 * 5 + 3, 16 * 7 + 3);  // row 7, column 5: swatch 90
    ASSERT_EQ(picker.SelectedSwatch(), 90);

    const QImage image = picker.Grid()->grab().toImage();
    ASSERT_EQ(image.size(), QSize(192, 320));
    const QRgb grey = qRgb(170, 170, 170);
    const QRgb white = qRgb(255, 255, 255);
    for (int n = 1; n <= 240; ++n) {
        const QPoint o = cellOrigin(n);
        const QRgb fill = rgbOf(picker.PaletteColors()[static_cast<std::size_t>(n - 1)]);
        SCOPED_TRACE(n);
        ASSERT_EQ(image.pixel(o), grey);
        ASSERT_EQ(image.pixel(o + QPoint(15, 15)), grey);
        ASSERT_EQ(image.pixel(o + QPoint(7, 15)), grey);
        ASSERT_EQ(image.pixel(o + QPoint(8, 8)), fill);
        if (n == 90) {
            for (QPoint p : {QPoint(1, 1), QPoint(14, 1), QPoint(1, 14), QPoint(14, 14), QPoint(7, 1)})
                EXPECT_EQ(image.pixel(o + p), white);
            EXPECT_EQ(image.pixel(o + QPoint(2, 2)), fill);
            EXPECT_EQ(image.pixel(o + QPoint(13, 13)), fill);
        } else {
            ASSERT_EQ(image.pixel(o + QPoint(1, 1)), fill);
            ASSERT_EQ(image.pixel(o + QPoint(14, 14)), fill);
        }
    }
}

// Where the grid's top-left corner is in its scrolling area's viewport.
QPoint gridInViewport(const TColorPicker& picker) {
    auto* box = picker.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
    return picker.Grid()->mapTo(box->viewport(), QPoint(0, 0));
}

TEST(ColorPickerView, GridAndCurrentColourGroupStayCentred) {
    TColorPicker picker;
    auto* box = picker.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
    auto* group = picker.findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
    auto* panel = picker.findChild<QWidget*>(QStringLiteral("Panel3"));
    picker.resize(261, 560);
    picker.show();
    QApplication::processEvents();
    QSize room = box->viewport()->size();
    ASSERT_GE(room.width(), 192);
    ASSERT_GE(room.height(), 320);
    EXPECT_EQ(gridInViewport(picker), QPoint((room.width() - 192) / 2, (room.height() - 320) / 2));
    EXPECT_EQ(group->x(), (panel->width() - group->width()) / 2);

    // Too small for the grid: the middle of the grid shows, as with a
    // negative offset, and the scroll bars reach the rest.
    picker.resize(150, 300);
    QApplication::processEvents();
    room = box->viewport()->size();
    ASSERT_LT(room.width(), 192);
    ASSERT_LT(room.height(), 320);
    EXPECT_EQ(gridInViewport(picker), QPoint((room.width() - 192) / 2, (room.height() - 320) / 2));
    EXPECT_EQ(group->x(), (panel->width() - group->width()) / 2);
    EXPECT_LT(group->x(), 0);
    box->horizontalScrollBar()->setValue(0);
    EXPECT_EQ(gridInViewport(picker).x(), 0);

    picker.resize(300, 600);
    QApplication::processEvents();
    room = box->viewport()->size();
    EXPECT_EQ(gridInViewport(picker), QPoint((room.width() - 192) / 2, (room.height() - 320) / 2));
}

TEST(ColorPickerView, Screenshot) {
    TempAppDir app;
    app.installWebSafe();
    TColorPicker picker;
    picker.loadDefaultPalette(app.dir());
    picker.PaintBox2MouseUp(16 * 2 + 5, 16 * 4 + 5);  // swatch 51
    picker.resize(230, 520);
    picker.show();
    QApplication::processEvents();
    const QImage shot = picker.grab().toImage();
    ASSERT_TRUE(shot.save(QStringLiteral("color_picker.png")));
    // The patch shows the chosen colour.
    EXPECT_EQ(picker.CurrentColor(), picker.PaletteColors()[50]);
}

}  // namespace
