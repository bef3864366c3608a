// The preview page of an editor window: the tab strip along the bottom that
// switches between the source and a browser showing the page, the browser
// itself (from the preview module), and the temporary files the preview
// writes and removes. Preview pages are kept in a private folder of the
// program (mode 0700), never in the site's output folder; the browser shows
// them as though they stood in the output folder.
#pragma once

#include "platform/Library.h"

#include <QByteArray>
#include <QTabBar>

#include <string>

class QPainter;

namespace vlr {

class TFrmEditor;

// The preview module (loaded on first use, then kept); nullptr without it.
LibraryHandle PreviewModule();

// The tick count as decimal text, made unique among the windows of this
// program: a window made in the same millisecond as the previous one gets the
// next number, so that two windows never share temporary preview names.
std::string UniqueTickId();

// The tab strip with owner-drawn tabs (TabSet1DrawTab).
class PreviewTabBar : public QTabBar {
public:
    PreviewTabBar(TFrmEditor& owner, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TFrmEditor& owner_;
};

class EditorPreview {
public:
    explicit EditorPreview(TFrmEditor& window) : w_(window) {}

    // Creates the browser in the preview page's host and shows the tab strip.
    // Without the preview module no browser exists and the strip stays hidden.
    void BuildIE();
    // Hides the tab strip: the window has only its source page.
    void CloseIE();
    // Index 1 ("  Preview  ") writes and shows the page; index 0 ("  Source  ")
    // removes the temporary page and shows the source.
    void TabSet1Click(int index);
    // Draws one tab: the selected one bold in the window-text colour, the
    // other in normal weight and white, text at the rectangle's top left.
    void TabSet1DrawTab(QPainter& painter, int index, const QRect& rect, bool selected) const;

    // The output sub-folder of the document (the core module's DoPathEx of
    // SrcDir, the document's folder and OutDir); "" when there is none.
    [[nodiscard]] std::string SubPath() const;

private:
    void showPreview();
    bool buildPreview(const QByteArray& text);
    void showSource();
    void backToSource();

    TFrmEditor& w_;
};

}  // namespace vlr
