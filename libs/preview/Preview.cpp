// The preview module: the web browser control of the editor windows' preview
// page, the only part of the program that links the web engine. The program
// loads it by name; when it is missing (or the engine's helper process is
// not installed) editor windows have no preview page. Every page is shown in
// the sandbox of PreviewSandbox.h.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/preview/LiveView.h"
#include "libs/preview/PreviewSandbox.h"

#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <algorithm>
#include <type_traits>
#include <unistd.h>

namespace {

// Settings the engine reads once, when it starts: they must be in place
// before the first view exists.
void prepareEngine() {
    static bool done = false;
    if (done)
        return;
    done = true;
    // The engine's sandbox refuses to run as root.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // WebRTC may not send UDP past a proxy (there is none): a second line
    // behind the removal of its interfaces from every page.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("force-webrtc-ip-handling-policy")) {
        if (!flags.isEmpty())
            flags += ' ';
        flags += "--force-webrtc-ip-handling-policy=disable_non_proxied_udp";
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }
    vlr::preview::RegisterPreviewScheme();
}

vlr::preview::SandboxPage* pageOf(QWidget* browser) {
    auto* view = qobject_cast<QWebEngineView*>(browser);
    return view ? dynamic_cast<vlr::preview::SandboxPage*>(view->page()) : nullptr;
}

}  // namespace

// A browser filling `host` (which gets a layout if it has none). The browser
// is a child of the host and goes with it.
VLR_ENTRY_POINT QWidget* PreviewCreate(QWidget* host) {
    if (!host)
        return nullptr;
    prepareEngine();
    auto* view = new QWebEngineView(host);
    view->setObjectName(QStringLiteral("Browser"));
    auto* page = new vlr::preview::SandboxPage(view);
    view->setPage(page);
    page->WatchInput(view);
    QLayout* layout = host->layout();
    if (!layout) {
        layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(view);
    return view;
}

VLR_ENTRY_POINT void PreviewShow(QWidget* browser, const char* pageFile, const char* siteFolder,
                                 const char* pathInSite) {
    vlr::preview::SandboxPage* page = pageOf(browser);
    if (!page)
        return;
    vlr::preview::SiteView view;
    view.pageFile = vlr::modules::PathFrom(pageFile);
    view.root = vlr::modules::PathFrom(siteFolder);
    view.pagePath = vlr::modules::PathFrom(pathInSite);
    if (view.pagePath.isEmpty())
        view.pagePath = QLatin1Char('/') + QFileInfo(view.pageFile).fileName();
    page->Show(view);
}

// Shows the local page at `address` ("file:///..."), its folder being the
// site. Nothing else is shown: the preview is no web browser.
VLR_ENTRY_POINT void PreviewNavigate(QWidget* browser, const char* address) {
    vlr::preview::SandboxPage* page = pageOf(browser);
    const QUrl url(vlr::modules::DisplayText(address));
    if (!page || !url.isLocalFile())
        return;
    const QFileInfo file(url.toLocalFile());
    page->Show({file.absoluteFilePath(), QLatin1Char('/') + file.fileName(), file.absolutePath(), {}});
}

VLR_ENTRY_POINT void PreviewLiveShow(QWidget* browser, const char* html, std::size_t htmlLength, const char* marked,
                                     std::size_t markedLength, const char* siteFolder, const char* pathInSite,
                                     int serial, const PreviewLivePatch* patch) {
    vlr::preview::SandboxPage* page = pageOf(browser);
    if (!page || !html || !marked)
        return;
    QString path = vlr::modules::PathFrom(pathInSite);
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    vlr::preview::LiveView::Patch change;
    if (patch && patch->marked) {
        change.start = patch->start;
        change.oldEnd = patch->oldEnd;
        change.newEnd = patch->newEnd;
        change.marked = QByteArray(patch->marked, qsizetype(patch->markedLength));
    }
    page->Live().Show(QByteArray(html, qsizetype(htmlLength)), QByteArray(marked, qsizetype(markedLength)),
                      vlr::modules::PathFrom(siteFolder), path, serial, patch && patch->marked ? &change : nullptr);
}

VLR_ENTRY_POINT void PreviewLiveReveal(QWidget* browser, std::uint64_t offset) {
    if (vlr::preview::SandboxPage* page = pageOf(browser))
        page->Live().Reveal(offset);
}

VLR_ENTRY_POINT void PreviewLiveEvents(QWidget* browser, void* context, PreviewLivePickedFn picked,
                                       PreviewLiveShownFn shown) {
    vlr::preview::SandboxPage* page = pageOf(browser);
    if (!page)
        return;
    vlr::preview::LiveBridge& bridge = page->Live().Bridge();
    bridge.context = context;
    bridge.onPicked = picked;
    bridge.onShown = shown;
}

VLR_ENTRY_POINT void PreviewZoom(QWidget* browser, double factor) {
    if (auto* view = qobject_cast<QWebEngineView*>(browser))
        view->setZoomFactor(std::clamp(factor, 0.25, 5.0));
}

static_assert(std::is_same_v<decltype(&PreviewLiveShow), PreviewLiveShowFn>);
static_assert(std::is_same_v<decltype(&PreviewLiveReveal), PreviewLiveRevealFn>);
static_assert(std::is_same_v<decltype(&PreviewLiveEvents), PreviewLiveEventsFn>);
static_assert(std::is_same_v<decltype(&PreviewZoom), PreviewZoomFn>);
static_assert(std::is_same_v<decltype(&PreviewCreate), PreviewCreateFn>);
static_assert(std::is_same_v<decltype(&PreviewShow), PreviewShowFn>);
static_assert(std::is_same_v<decltype(&PreviewNavigate), PreviewNavigateFn>);
