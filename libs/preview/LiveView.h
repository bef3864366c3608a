// The live side of a preview browser: the page built from the editor's text
// is served from memory, changed in place as the text changes, and tied to
// the source both ways through the offsets of its elements in the built
// text. The work in the page is done by a script in a world of its own (see
// LiveScript.cpp), which talks to this side through a web channel.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QWebChannel>

#include <cstdint>

namespace vlr::preview {

class SandboxPage;

extern const char* const kLiveScript;

// What the live script may call. Only the live script's world has the
// channel; the page's own script cannot reach it.
class LiveBridge : public QObject {
    Q_OBJECT
public:
    using Picked = void (*)(void* context, std::uint64_t offset);
    using Shown = void (*)(void* context, int serial);

    // The user clicked the element built from the output at `offset`.
    Q_INVOKABLE void pick(double offset);
    // The change numbered `serial` is painted.
    Q_INVOKABLE void shown(int serial);

    void* context = nullptr;
    Picked onPicked = nullptr;
    Shown onShown = nullptr;
};

class LiveView : public QObject {
public:
    explicit LiveView(SandboxPage* page);

    // One element's new text (see PatchBetween).
    struct Patch {
        std::uint64_t start = 0, oldEnd = 0, newEnd = 0;
        QByteArray marked;
    };

    // Shows `html` as the page at `pagePath` of the site folder `root`
    // (empty: the page alone); `marked` is the same text with the elements'
    // offsets (MarkElementOffsets). The first call, or one for another page
    // or site, loads the page; later ones change the shown page in place,
    // by `patch` when there is one and the page can take it.
    void Show(const QByteArray& html, const QByteArray& marked, const QString& root, const QString& pagePath,
              int serial, const Patch* patch = nullptr);
    // Marks the element built from the output at `offset` and brings it into view.
    void Reveal(std::uint64_t offset);
    LiveBridge& Bridge() { return bridge_; }

private:
    void loaded(bool ok);
    void run(const QByteArray& marked, int serial, bool labelOnly);

    SandboxPage* page_;
    LiveBridge bridge_;
    QWebChannel channel_;
    QString root_, pagePath_;
    bool loading_ = false;
    bool shown_ = false;
    // The text the page was loaded with, and the newest text asked for.
    QByteArray loadedText_;
    QByteArray pendingMarked_;
    QByteArray pendingText_;
    int pendingSerial_ = 0;
};

}  // namespace vlr::preview
