// The preview module: the web browser control of the editor windows' preview
// page, the only part of the program that links the web engine. The program
// loads it by name; when it is missing (or the engine's helper process is
// not installed) editor windows have no preview page.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <type_traits>
#include <unistd.h>

namespace {

// The engine's sandbox refuses to run as root; it must be off before the
// first view exists.
void prepareEngine() {
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
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
    QLayout* layout = host->layout();
    if (!layout) {
        layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(view);
    return view;
}

// Shows the page at `address` ("file:///..." or any other address).
VLR_ENTRY_POINT void PreviewNavigate(QWidget* browser, const char* address) {
    auto* view = qobject_cast<QWebEngineView*>(browser);
    if (!view)
        return;
    view->load(QUrl(vlr::modules::DisplayText(address)));
}

static_assert(std::is_same_v<decltype(&PreviewCreate), PreviewCreateFn>);
static_assert(std::is_same_v<decltype(&PreviewNavigate), PreviewNavigateFn>);
