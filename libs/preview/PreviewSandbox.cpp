// The preview's sandbox: scheme, profile, request rules and page.
#include "libs/preview/PreviewSandbox.h"

#include "platform/System.h"

#include "libs/preview/LiveView.h"

#include <QBuffer>
#include <QChildEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWidget>

#include <sys/stat.h>

namespace vlr::preview {
namespace {

const QByteArray kScheme = QByteArrayLiteral("velora-preview");

QString schemeName() { return QString::fromLatin1(kScheme); }

// The sites shown, by host. Requests and pages all live on the GUI thread.
QHash<QString, SiteView>& sites() {
    static QHash<QString, SiteView> all;
    return all;
}

bool isRegularFile(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

// The file a path of the site names, or "" when it must not be served: a
// part that is empty after all, ".", ".." or hidden (the build record, a
// version-control folder), a file whose real place (links followed) is not
// below the site folder, or anything but a regular file. A folder gives its
// index page.
QString siteFile(const SiteView& view, const QString& urlPath) {
    if (urlPath == view.pagePath && !view.pageFile.isEmpty())
        return view.pageFile;
    if (view.root.isEmpty())
        return {};
    const QStringList parts = urlPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts)
        if (part.startsWith(QLatin1Char('.')) || part.contains(QChar(0)))
            return {};
    const QString root = QFileInfo(view.root).canonicalFilePath();
    if (root.isEmpty())
        return {};
    QString file = view.root + QLatin1Char('/') + parts.join(QLatin1Char('/'));
    if (QFileInfo(file).isDir()) {
        const QString folder = file;
        file.clear();
        for (const char* index : {"index.html", "index.htm"})
            if (QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(index))) {
                file = folder + QLatin1Char('/') + QLatin1String(index);
                break;
            }
        if (file.isEmpty())
            return {};
    }
    const QString real = QFileInfo(file).canonicalFilePath();
    if (real.isEmpty() || !real.startsWith(root + QLatin1Char('/')) || !isRegularFile(real))
        return {};
    return real;
}

// Serves the sites' files; requests made by another site are refused.
class SiteSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QUrl url = job->requestUrl();
        const QUrl initiator = job->initiator();
        if (initiator.isValid() && !initiator.isEmpty() &&
            (initiator.scheme() != schemeName() || initiator.host() != url.host()))
            return job->fail(QWebEngineUrlRequestJob::RequestDenied);
        auto site = sites().constFind(url.host());
        if (site == sites().constEnd())
            return job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        if (site->pageFile.isEmpty() && url.path(QUrl::FullyDecoded) == site->pagePath) {
            auto* text = new QBuffer(job);
            text->setData(site->pageText);
            text->open(QIODevice::ReadOnly);
            return job->reply(QByteArrayLiteral("text/html"), text);
        }
        const QString path = siteFile(*site, url.path(QUrl::FullyDecoded));
        if (path.isEmpty())
            return job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        auto* file = new QFile(path, job);
        if (!file->open(QIODevice::ReadOnly))
            return job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        static const QMimeDatabase types;
        const QString type = path == site->pageFile
                                 ? QStringLiteral("text/html")
                                 : types.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
        job->reply(type.toLatin1(), file);
    }
};

// Passive content of the web: what a page shows, not what its script sends.
bool passive(QWebEngineUrlRequestInfo::ResourceType type) {
    switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
    case QWebEngineUrlRequestInfo::ResourceTypeScript:
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        return true;
    default:
        return false;
    }
}

// Everything outside the preview scheme is blocked but passive web content
// (and the inline "data:" / "blob:" / "about:" kinds, which never reach the
// network). Local files are never loaded: the site is served by the scheme.
class RequestRules : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QString scheme = info.requestUrl().scheme();
        if (scheme == schemeName() || scheme == QLatin1String("data") || scheme == QLatin1String("blob") ||
            scheme == QLatin1String("about"))
            return;
        if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) && passive(info.resourceType()))
            return;
        info.block(true);
    }
};

// Runs in every frame before the frame's own script: the ways a script
// could talk to the network directly are gone. A frame the page makes starts
// with an empty document that the engine runs no script in, so the page
// could take them from there: every way of putting content into a document
// locks the frames of the window at once, and so does an observer of the
// document for frames its parser makes.
const char* const kLockdownScript = R"JS(
(function lockdown(w) {
  var names = ['RTCPeerConnection', 'webkitRTCPeerConnection', 'RTCDataChannel', 'RTCIceCandidate',
               'RTCSessionDescription', 'RTCIceTransport', 'RTCDtlsTransport', 'RTCSctpTransport',
               'RTCRtpSender', 'RTCRtpReceiver', 'RTCRtpTransceiver', 'RTCCertificate',
               'WebSocket', 'EventSource', 'WebTransport'];
  for (var i = 0; i < names.length; ++i) {
    try { delete w[names[i]]; } catch (e) {}
    try {
      w.Object.defineProperty(w, names[i], { value: undefined, writable: false, configurable: false });
    } catch (e) {}
  }
  function lockFrames() {
    for (var i = 0; i < w.length; ++i) {
      var child;
      try { child = w[i]; child.document; } catch (e) { continue; }
      try {
        if (!child.Object.getOwnPropertyDescriptor(child, '__veloraLocked')) lockdown(child);
      } catch (e) {}
    }
  }
  try {
    w.Object.defineProperty(w, '__veloraLocked', { value: true, writable: false, configurable: false });
  } catch (e) {}
  function wrapMethod(proto, name) {
    var original = proto && w.Object.getOwnPropertyDescriptor(proto, name);
    if (!original || typeof original.value !== 'function') return;
    w.Object.defineProperty(proto, name, { configurable: false, writable: false, enumerable: original.enumerable,
      value: function () { try { return original.value.apply(this, arguments); } finally { lockFrames(); } } });
  }
  function wrapSetter(proto, name) {
    var original = proto && w.Object.getOwnPropertyDescriptor(proto, name);
    if (!original || !original.set) return;
    w.Object.defineProperty(proto, name, { configurable: false, enumerable: original.enumerable, get: original.get,
      set: function (v) { try { original.set.call(this, v); } finally { lockFrames(); } } });
  }
  function wrapGetter(proto, name) {
    var original = proto && w.Object.getOwnPropertyDescriptor(proto, name);
    if (!original || !original.get) return;
    w.Object.defineProperty(proto, name, { configurable: false, enumerable: original.enumerable, set: original.set,
      get: function () { lockFrames(); return original.get.call(this); } });
  }
  var methods = {
    Node: ['appendChild', 'insertBefore', 'replaceChild'],
    Element: ['append', 'prepend', 'before', 'after', 'replaceWith', 'replaceChildren', 'insertAdjacentElement',
              'insertAdjacentHTML'],
    CharacterData: ['before', 'after', 'replaceWith'],
    DocumentType: ['before', 'after', 'replaceWith'],
    Document: ['append', 'prepend', 'replaceChildren', 'write', 'writeln', 'execCommand', 'open'],
    DocumentFragment: ['append', 'prepend', 'replaceChildren'],
    Range: ['insertNode', 'surroundContents']
  };
  for (var type in methods)
    for (var j = 0; j < methods[type].length; ++j) wrapMethod(w[type] && w[type].prototype, methods[type][j]);
  wrapSetter(w.Element && w.Element.prototype, 'innerHTML');
  wrapSetter(w.Element && w.Element.prototype, 'outerHTML');
  wrapSetter(w.ShadowRoot && w.ShadowRoot.prototype, 'innerHTML');
  wrapSetter(w.HTMLIFrameElement && w.HTMLIFrameElement.prototype, 'srcdoc');
  var frameTypes = ['HTMLIFrameElement', 'HTMLFrameElement', 'HTMLObjectElement', 'HTMLEmbedElement'];
  for (var k = 0; k < frameTypes.length; ++k) {
    var proto = w[frameTypes[k]] && w[frameTypes[k]].prototype;
    wrapGetter(proto, 'contentWindow');
    wrapGetter(proto, 'contentDocument');
    wrapMethod(proto, 'getSVGDocument');
  }
  wrapGetter(w.Window && w.Window.prototype, 'length');
  try {
    new w.MutationObserver(lockFrames).observe(w.document, { childList: true, subtree: true });
  } catch (e) {}
  lockFrames();
})(window);
)JS";

bool g_registered = false;

}  // namespace

void RegisterPreviewScheme() {
    if (g_registered)
        return;
    g_registered = true;
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Same-site requests of a page's script (a search index, say) work;
    // nothing grants access to local files or counts the scheme as secure.
    scheme.setFlags(QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QWebEngineProfile* SandboxProfile() {
    static QWebEngineProfile* profile = [] {
        RegisterPreviewScheme();
        // A profile without a storage name is off the record: cookies,
        // storage and cache stay in memory and go with the program.
        auto* p = new QWebEngineProfile(QCoreApplication::instance());
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        p->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        p->setUrlRequestInterceptor(new RequestRules(p));
        p->installUrlSchemeHandler(kScheme, new SiteSchemeHandler(p));

        QWebEngineSettings* s = p->settings();
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
        s->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
        s->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
        s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
        s->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
        s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
        s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
        s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
        s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
        s->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
        s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
        s->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);

        QWebEngineScript lockdown;
        lockdown.setName(QStringLiteral("velora-preview-lockdown"));
        lockdown.setInjectionPoint(QWebEngineScript::DocumentCreation);
        lockdown.setWorldId(QWebEngineScript::MainWorld);
        lockdown.setRunsOnSubFrames(true);
        lockdown.setSourceCode(QString::fromLatin1(kLockdownScript));
        p->scripts()->insert(lockdown);
        return p;
    }();
    return profile;
}

SandboxPage::SandboxPage(QObject* parent) : QWebEnginePage(SandboxProfile(), parent) {
    static unsigned next = 0;
    host_ = QStringLiteral("page%1").arg(++next);
    sites().insert(host_, SiteView{});
    // A pop-up never opens; a link to another site that the user clicked
    // opens in the desktop's browser, a link within the site here.
    connect(this, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        const QUrl url = request.requestedUrl();
        if (!request.isUserInitiated() || !userJustActed())
            return;
        if (url.scheme() == schemeName() && url.host() == host_)
            load(url);
        else
            openOutside(url);
    });
    // Camera, microphone, location, notifications: never.
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
}

SandboxPage::~SandboxPage() { sites().remove(host_); }

void SandboxPage::Show(const SiteView& view) {
    SiteView shown = view;
    if (!shown.pagePath.startsWith(QLatin1Char('/')))
        shown.pagePath.prepend(QLatin1Char('/'));
    sites().insert(host_, shown);
    load(AddressOf(shown.pagePath));
}

void SandboxPage::SetPageText(const QByteArray& text) {
    auto site = sites().find(host_);
    if (site != sites().end() && site->pageFile.isEmpty())
        site->pageText = text;
}

LiveView& SandboxPage::Live() {
    if (!live_)
        live_ = new LiveView(this);
    return *live_;
}

QUrl SandboxPage::AddressOf(const QString& pagePath) const {
    QUrl url;
    url.setScheme(schemeName());
    url.setHost(host_);
    url.setPath(pagePath, QUrl::DecodedMode);
    return url;
}

bool SandboxPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (url.scheme() == schemeName() && url.host() == host_)
        return true;
    // Frames made by the page itself ("about:blank", "srcdoc").
    if (!isMainFrame && url.scheme() == QLatin1String("about"))
        return true;
    if (isMainFrame && type == NavigationTypeLinkClicked && userJustActed())
        openOutside(url);
    return false;
}

void SandboxPage::openOutside(const QUrl& url) const {
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
        url.scheme() == QLatin1String("mailto"))
        ShellOpen(url.toString(QUrl::FullyEncoded).toStdString());
}

// The engine calls a navigation a link's even when the page's script made
// it; what the user did shortly before tells them apart.
bool SandboxPage::userJustActed() const { return lastInput_.isValid() && lastInput_.elapsed() < 1000; }

void SandboxPage::WatchInput(QWidget* view) {
    view->installEventFilter(this);
    for (QObject* child : view->children())
        child->installEventFilter(this);
}

bool SandboxPage::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The engine's input widget comes and goes with the page.
        if (auto* child = static_cast<QChildEvent*>(event)->child(); child && child->isWidgetType())
            child->installEventFilter(this);
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
        lastInput_.start();
        break;
    default:
        break;
    }
    return QWebEnginePage::eventFilter(watched, event);
}

QWebEnginePage* SandboxPage::createWindow(WebWindowType) { return nullptr; }

}  // namespace vlr::preview
