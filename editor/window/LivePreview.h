// The live preview pane beside an editor's source: the page built from the
// unsaved text (the project's includes and variables expanded), changed in
// place shortly after every keystroke. The caret's line marks the element
// built from it, and a click on an element puts the caret on the line that
// made it, in this page or in the include file (opened for it). A build
// problem shows above the page with its file and line. Width presets (phone,
// tablet, desktop) and a zoom sit on the pane's bar.
#pragma once

#include "project/build/LivePage.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

class QComboBox;
class QLabel;

namespace velora::memo {
class TSyntaxMemo;
}

namespace vlr {

class LivePreviewPane : public QWidget {
    Q_OBJECT
public:
    // What the pane asks of the window it is in: the caller's answers, given once when the
    // pane is made (the editor window gives its project, page and trust; a benchmark gives
    // its own), not wiring between units. They are functions, not values, because the
    // answers change while the pane lives: a project opens or closes, Save As renames the
    // page, the user trusts the project.
    struct Context {
        // The open project's file ("" without one) and the page's full path, asked at each build.
        std::function<std::string()> projectFile;
        std::function<std::string()> pagePath;
        // Whether the build may read outside the project's folder: the window asks the user
        // (once per project) when a build first needs it.
        std::function<bool(const std::string& outside)> allowOutside;
        // Opens another file of the site at a line, as the window opens files (a click on an
        // element an include made).
        std::function<void(const std::string& file, int line)> openFile;
    };
    enum class Width { Desktop, Tablet, Phone };
    // The widths of the presets in CSS pixels (0: the pane's width).
    static int PixelsOf(Width width);
    // How long the pane waits after a change before it builds: none but the
    // rest of the key's handling. Keys typed while a change is on its way to
    // the browser are taken together into the next one.
    static constexpr int kUpdateDelayMs = 0;

    LivePreviewPane(velora::memo::TSyntaxMemo& memo, Context context, QWidget* parent = nullptr);

    // Whether a browser could be made (the preview module is there).
    [[nodiscard]] bool Usable() const { return browser_ != nullptr; }
    // Builds the page from the text now and shows it.
    void Refresh();
    // Marks the element built from the caret's line.
    void RevealCaret();
    // Puts the caret where the output at `offset` came from (what a click
    // in the page does).
    void Pick(std::uint64_t offset);

    void SetWidth(Width width);
    [[nodiscard]] Width CurrentWidth() const { return width_; }
    void SetZoom(int percent);
    [[nodiscard]] int Zoom() const { return zoom_; }

    // The page last built, and the problem line shown above it ("" when none).
    [[nodiscard]] const build::LivePage& Page() const { return page_; }
    [[nodiscard]] QString ProblemText() const;
    [[nodiscard]] QWidget* Browser() const { return browser_; }

Q_SIGNALS:
    // The change numbered `serial` (counted from 1 by Refresh) is painted.
    void Shown(int serial);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void textChanged();
    void shown(int serial);
    void placeBrowser();
    void showProblems();

    velora::memo::TSyntaxMemo& memo_;
    Context context_;
    QWidget* browser_ = nullptr;
    QWidget* stage_ = nullptr;
    QWidget* frame_ = nullptr;
    QLabel* problems_ = nullptr;
    QComboBox* widthBox_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QTimer update_;
    QTimer reveal_;
    QTimer stalled_;
    build::LivePageBuilder builder_;
    build::LivePage page_;
    Width width_ = Width::Desktop;
    int zoom_ = 100;
    int serial_ = 0;
    // A change is on its way to the browser; another one waits for it.
    bool inFlight_ = false;
    bool dirty_ = false;
};

}  // namespace vlr
