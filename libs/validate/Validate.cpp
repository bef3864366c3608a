// The link-check module: checks the address under the mouse when the user
// clicks it and remembers the results, so the next hover over the same
// address shows how it fared.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/validate/LinkHints.h"
#include "libs/validate/LinkProber.h"
#include "libs/validate/LocalLinks.h"
#include "platform/Record.h"
#include "platform/Window.h"
#include "project/model/ProjectModel.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <filesystem>

#include <type_traits>

namespace {

using namespace vlr::validate;

constexpr unsigned kValidateStart = 3033;  // "Internet Connection Active..."
constexpr unsigned kValidateEnd = 3034;
constexpr unsigned kStatusText = 3061;
constexpr unsigned kProjectFileQuery = 3085;

LinkCache& Cache() {
    static LinkCache cache;
    return cache;
}

// A web check on the calling thread that keeps the windows painted: user
// input waits until the check is over, which is at most the time limit.
LinkResult CheckWhileRepainting(const std::string& address) {
    LinkProber prober;
    prober.add(address);
    for (;;) {
        std::vector<LinkResult> done = prober.poll(std::chrono::milliseconds(50));
        if (!done.empty())
            return done.front();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void Status(vlr::Handle mainWindow, const std::string& text) {
    vlr::RecordPtr r = vlr::MakeRecord(text);
    if (vlr::IsWindow(mainWindow))
        vlr::SendMessage(mainWindow, kStatusText, 0, reinterpret_cast<vlr::LParam>(r.release()));
}

// The text without the quotes an attribute value keeps around it.
std::string Unquoted(std::string text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    return text;
}

// The link in the text: a web or "file://" address, else a relative link.
std::string LinkIn(const std::string& text) {
    std::string link = AddressIn(text);
    if (link.empty() && IsRelativeLink(Unquoted(text)))
        link = Unquoted(text);
    return link;
}

// Where the relative links of the main window's active document lead: the
// document's own folder (when it has a file) and the open project's output
// folder (relative to the project file's folder when written relative).
LinkBase BaseOf(vlr::Handle mainWindow) {
    LinkBase base;
    if (!vlr::IsWindow(mainWindow))
        return base;
    if (QWidget* main = vlr::WindowWidget(mainWindow))
        if (auto* area = main->findChild<QMdiArea*>())
            if (QMdiSubWindow* sub = area->currentSubWindow(); sub && sub->widget()) {
                const QString file = sub->widget()->windowFilePath();
                if (!file.isEmpty())
                    base.documentDir = QFileInfo(file).absolutePath().toStdString();
            }
    const std::string project = vlr::FirstText(vlr::AdoptRecord(vlr::SendMessage(mainWindow, kProjectFileQuery, 0, 0)));
    if (!project.empty() && project != vlr::kNoProjectFile) {
        vlr::ProjectState state;
        vlr::ReadProjectFile(project, state);
        if (!state.OutputDir.empty()) {
            std::filesystem::path out(state.OutputDir);
            if (out.is_relative())
                out = std::filesystem::absolute(project).parent_path() / out;
            base.outputDir = out.lexically_normal().string();
        }
    }
    return base;
}

bool IsLocal(const std::string& link) { return link.rfind("file://", 0) == 0 || !IsWebAddress(link); }

}  // namespace

// Checks the link in the text: a web address over the network, announcing the
// activity to the main window (3033, then 3034); a "file://" address or a
// relative link on disk, relative ones from the active document's folder or
// the project's output folder. The result goes to the main window's status
// line. A check asked for while one runs is ignored.
VLR_ENTRY_POINT void DoValidate(vlr::Handle, const char* address, vlr::Handle mainWindow) {
    static bool busy = false;
    if (busy)
        return;
    const std::string text = vlr::modules::TextFrom(address);
    const std::string link = LinkIn(text);
    if (link.empty()) {
        Status(mainWindow, "Not a link address: " + text);
        return;
    }
    busy = true;
    LinkResult result;
    if (IsLocal(link)) {
        // An absolute "file://" path needs no folders to start from.
        std::string path = LocalLinkPath(link, {});
        if (path.empty())
            path = LocalLinkPath(link, BaseOf(mainWindow));
        if (path.empty()) {
            busy = false;
            Status(mainWindow, "Cannot check a relative link of a document without a file or project: " + link);
            return;
        }
        result = CheckLocalPath(link, path);
    } else {
        if (vlr::IsWindow(mainWindow))
            vlr::SendMessage(mainWindow, kValidateStart, 0, 0);
        result = CheckWhileRepainting(link);
        if (vlr::IsWindow(mainWindow))
            vlr::SendMessage(mainWindow, kValidateEnd, 0, 0);
    }
    busy = false;
    Cache().store(result);
    Status(mainWindow, StatusText(result));
}

// The hint for the address in the text: how its last check went, or an empty
// text when it was never checked (the editor then offers to check it). The
// text stays valid until the next call.
VLR_ENTRY_POINT const char* GetHint(vlr::Handle, const char* text) {
    static std::string hint;
    const std::optional<LinkResult> r = Cache().find(LinkIn(vlr::modules::TextFrom(text)));
    hint = r ? HintText(*r) : std::string();
    return hint.c_str();
}

static_assert(std::is_same_v<decltype(&DoValidate), DoValidateFn>);
static_assert(std::is_same_v<decltype(&GetHint), GetHintFn>);
