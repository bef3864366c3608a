// The live side of a preview browser.
#include "libs/preview/LiveView.h"

#include "libs/preview/PreviewSandbox.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QVariant>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace vlr::preview {
namespace {

constexpr quint32 kLiveWorld = QWebEngineScript::ApplicationWorld;

QWebEngineScript script(const QString& name, const QString& source, QWebEngineScript::InjectionPoint when) {
    QWebEngineScript s;
    s.setName(name);
    s.setSourceCode(source);
    s.setInjectionPoint(when);
    s.setWorldId(kLiveWorld);
    s.setRunsOnSubFrames(false);
    return s;
}

// The text as a literal of the script language (JSON's string is one).
QString literal(const QByteArray& text) {
    QByteArray array = QJsonDocument(QJsonArray{QString::fromUtf8(text)}).toJson(QJsonDocument::Compact);
    // "[...]" around the one string.
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

}  // namespace

void LiveBridge::pick(double offset) {
    if (onPicked && offset >= 0)
        onPicked(context, static_cast<std::uint64_t>(offset));
}

void LiveBridge::shown(int serial) {
    if (onShown)
        onShown(context, serial);
}

LiveView::LiveView(SandboxPage* page) : QObject(page), page_(page) {
    QFile channelScript(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    QString channelSource;
    if (channelScript.open(QIODevice::ReadOnly))
        channelSource = QString::fromUtf8(channelScript.readAll());
    page_->scripts().insert(
        script(QStringLiteral("velora-live-channel"), channelSource, QWebEngineScript::DocumentCreation));
    page_->scripts().insert(
        script(QStringLiteral("velora-live"), QString::fromUtf8(kLiveScript), QWebEngineScript::DocumentReady));
    channel_.registerObject(QStringLiteral("velora"), &bridge_);
    page_->setWebChannel(&channel_, kLiveWorld);
    connect(page_, &QWebEnginePage::loadFinished, this, &LiveView::loaded);
    // A load this side did not ask for (the engine's reload, the page's own
    // script going somewhere): the page is new and its offsets must be taken again.
    connect(page_, &QWebEnginePage::loadStarted, this, [this] {
        if (loading_)
            return;
        loading_ = true;
        shown_ = false;
        loadedText_ = pendingText_;
    });
    connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
        if (url.path(QUrl::FullyDecoded) != pagePath_)
            pagePath_.clear();
    });
}

void LiveView::Show(const QByteArray& html, const QByteArray& marked, const QString& root, const QString& pagePath,
                    int serial, const Patch* patch) {
    pendingMarked_ = marked;
    pendingText_ = html;
    pendingSerial_ = serial;
    // A reload (the engine's own, or a link back to the page) gets the newest text.
    page_->SetPageText(html);
    if (shown_ && !loading_ && root == root_ && pagePath == pagePath_) {
        if (!patch)
            return run(marked, serial, false);
        // Only the element; the whole page again when it cannot take that.
        const QString call = QStringLiteral("window.__veloraLive && __veloraLive.patch(%1, %2, %3, %4, %5)")
                                 .arg(patch->start)
                                 .arg(patch->oldEnd)
                                 .arg(patch->newEnd)
                                 .arg(literal(patch->marked))
                                 .arg(serial);
        page_->runJavaScript(call, kLiveWorld, [this](const QVariant& applied) {
            if (!applied.toBool())
                run(pendingMarked_, pendingSerial_, false);
        });
        return;
    }
    if (loading_ && root == root_ && pagePath == pagePath_)
        return;  // the load's end brings the shown page up to date
    root_ = root;
    pagePath_ = pagePath;
    loading_ = true;
    shown_ = false;
    loadedText_ = html;
    SiteView view;
    view.root = root;
    view.pagePath = pagePath;
    view.pageText = html;
    page_->Show(view);
}

void LiveView::loaded(bool ok) {
    if (!loading_)
        return;
    loading_ = false;
    shown_ = ok;
    if (ok)
        run(pendingMarked_, pendingSerial_, pendingText_ == loadedText_);
}

void LiveView::run(const QByteArray& marked, int serial, bool labelOnly) {
    page_->runJavaScript(QStringLiteral("window.__veloraLive && __veloraLive.update(%1, %2, %3)")
                             .arg(literal(marked))
                             .arg(serial)
                             .arg(labelOnly ? QStringLiteral("true") : QStringLiteral("false")),
                         kLiveWorld);
}

void LiveView::Reveal(std::uint64_t offset) {
    if (shown_)
        page_->runJavaScript(QStringLiteral("window.__veloraLive && __veloraLive.reveal(%1)").arg(offset),
                             kLiveWorld);
}

}  // namespace vlr::preview
