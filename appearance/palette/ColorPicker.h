// TColorPicker: the "Colors" page of the main window's side panel. A caption
// line with the loaded palette's name and a drop-down menu, the grid of the
// first 240 swatches of the palette, and the "Current color:" group with the
// chosen colour and its red, green and blue values.
//
// The picker holds the palette for the run. It knows nothing of the main
// window: a double click asks for the colour text to be inserted through
// colorInsertRequested, and load errors of the "&Load Palette" command go to
// the error handler the owner installs.
#pragma once

#include "appearance/palette/PaletteFile.h"

#include <QWidget>

#include <exception>
#include <functional>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QScrollArea;
class QToolButton;

namespace vlr {

class TColorPatch;
class TPaletteGrid;

class TColorPicker : public QWidget {
    Q_OBJECT
public:
    using ErrorHandler = std::function<void(std::exception_ptr)>;

    explicit TColorPicker(QWidget* parent = nullptr);
    ~TColorPicker() override;

    // Loads a palette file. With ask, the "Open Swatch" dialog chooses the
    // file (fileName is not used) and a cancel changes nothing. The caption
    // shows the file's name before it is read; a short or unreadable file
    // raises EPaletteIOError and leaves the colours as they were.
    void LoadPalette(const std::string& fileName, bool ask);
    // The default palette, appDir + "swatches/Web Safe.pal" (appDir ends in
    // "/"), then swatch 1 becomes the chosen one. A missing file leaves the
    // colours as they are; a short one raises as LoadPalette does.
    void loadDefaultPalette(const std::string& appDir);

    // "&Load Palette": asks for a file and loads it; an error goes to the
    // error handler.
    void LoadPalette1Click();
    void PaintBox2Paint(QPainter& canvas) const;
    // Chooses the swatch under grid pixel (X, Y), if any, and shows the chosen colour.
    void PaintBox2MouseUp(int X, int Y);
    void PaintBox2DblClick();
    // Arrows, Home and End move the chosen swatch; Return and Space insert its colour.
    void PaintBox2Key(int key);
    // Asks for the panel's colour to be inserted as "#RRGGBB".
    void ColorClick(const TColorPatch& panel);
    // Keep the grid centred in its scrolling area, and the current-colour
    // group centred horizontally in its panel.
    void ScrollBox1Resize();
    void Panel3Resize();

    [[nodiscard]] const Palette& PaletteColors() const noexcept { return paletteColors_; }
    // 1-based number of the chosen swatch, 0 while none has been chosen.
    [[nodiscard]] int SelectedSwatch() const noexcept { return selectedSwatch_; }
    // The caption line's text, " Palette: " and the palette's name.
    [[nodiscard]] QString PaletteCaption() const;
    [[nodiscard]] ColorValue CurrentColor() const noexcept;

    [[nodiscard]] TPaletteGrid* Grid() const noexcept { return PaintBox2_; }
    [[nodiscard]] TColorPatch* Patch() const noexcept { return ColorPatch_; }
    [[nodiscard]] QAction* LoadPaletteAction() const noexcept { return LoadPalette1_; }

    // Receives the errors of "&Load Palette". Without one, they are shown in
    // an error message box.
    void setErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }

Q_SIGNALS:
    // The "#RRGGBB" text of a double-clicked colour, for the active document.
    void colorInsertRequested(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCaptionLine();
    void buildCurrentColorGroup();
    void showCurrentColor(ColorValue color);

    Palette paletteColors_{};
    int selectedSwatch_ = 0;
    ErrorHandler errorHandler_;

    QLabel* Label1_ = nullptr;          // the caption line's palette name
    QToolButton* SpeedButton1_ = nullptr;  // the caption line's drop-down button
    QMenu* PopupMenu1_ = nullptr;
    QAction* LoadPalette1_ = nullptr;
    QScrollArea* ScrollBox1_ = nullptr;
    QWidget* gridHolder_ = nullptr;
    TPaletteGrid* PaintBox2_ = nullptr;
    QWidget* Panel3_ = nullptr;
    QGroupBox* GroupBox1_ = nullptr;
    TColorPatch* ColorPatch_ = nullptr;
    QLineEdit* RedEdit_ = nullptr;
    QLineEdit* GreenEdit_ = nullptr;
    QLineEdit* BlueEdit_ = nullptr;
};

}  // namespace vlr
