// The preview's sandbox. A previewed page may come from anyone (a downloaded
// project, a page opened from the web), so what its script can reach is
// limited to the site it belongs to:
//
// - pages are served from a scheme of their own ("velora-preview://<host>/"),
//   one host per browser, rooted at the site folder: a path outside it, a
//   link leading out of it, or anything that is not a regular file is not
//   served, and "file://" addresses are never loaded;
// - WebSocket, EventSource, script requests and navigations to other sites,
//   pings and reports are blocked; passive content of the web (pictures,
//   style sheets, scripts, fonts, media) still loads so that pages look as
//   they will on the web;
// - WebRTC, WebSocket, EventSource and WebTransport are removed from every
//   frame's script before the page's own script runs, and WebRTC may use no
//   non-proxied UDP;
// - no pop-up windows; a link to another site opens the desktop's browser on
//   a click and never inside the preview;
// - nothing is stored on disk: the profile is off the record, local storage
//   is off, the cache is in memory.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QWebEnginePage>

class QWebEngineProfile;

namespace vlr::preview {

// Registers the preview scheme. Runs once, before the engine starts (the
// first profile or page); later calls do nothing.
void RegisterPreviewScheme();

// The profile every preview page uses (made on first use).
QWebEngineProfile* SandboxProfile();

// What a browser shows: the page's file, where it stands in the site ("/"
// followed by its path below the site folder) and the site folder (empty:
// the page alone, nothing else is served).
struct SiteView {
    QString pageFile;
    QString pagePath;
    QString root;
    // Without a page file: the page's text, served from memory.
    QByteArray pageText;
};

class LiveView;

// The page of one preview browser: its own host in the preview scheme, the
// navigation rules and no pop-ups.
class SandboxPage : public QWebEnginePage {
public:
    explicit SandboxPage(QObject* parent);
    ~SandboxPage() override;

    // Shows the page of `view`.
    void Show(const SiteView& view);
    // Replaces the text of a page served from memory (the next load gets it).
    void SetPageText(const QByteArray& text);
    // The live side of this page, made on first use (LiveView.h).
    LiveView& Live();
    // The address the page is shown at.
    [[nodiscard]] QUrl AddressOf(const QString& pagePath) const;
    // Notes the user's clicks and keys in the browser `view`: a link to
    // another site opens only when the user has just clicked (or pressed a
    // key), never on the page's script alone.
    void WatchInput(QWidget* view);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] bool userJustActed() const;
    void openOutside(const QUrl& url) const;

    QString host_;
    QElapsedTimer lastInput_;
    LiveView* live_ = nullptr;
};

}  // namespace vlr::preview
