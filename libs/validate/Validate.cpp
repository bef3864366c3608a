// The link-check module: checks the address under the mouse when the user
// clicks it and remembers the results, so the next hover over the same
// address shows how it fared.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/validate/LinkHints.h"
#include "libs/validate/LinkProber.h"
#include "platform/Record.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <type_traits>

namespace {

using namespace vlr::validate;

constexpr unsigned kValidateStart = 3033;  // "Internet Connection Active..."
constexpr unsigned kValidateEnd = 3034;
constexpr unsigned kStatusText = 3061;

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

}  // namespace

// Checks the address in the text (a web or "file://" address), announcing
// the network activity to the main window (3033, then 3034) and reporting the
// result on its status line. A check asked for while one runs is ignored.
VLR_ENTRY_POINT void DoValidate(vlr::Handle, const char* address, vlr::Handle mainWindow) {
    static bool busy = false;
    if (busy)
        return;
    const std::string text = vlr::modules::TextFrom(address);
    const std::string link = AddressIn(text);
    if (link.empty()) {
        Status(mainWindow, "Not a link address: " + text);
        return;
    }
    busy = true;
    LinkResult result;
    if (link.rfind("file://", 0) == 0) {
        std::string path = link.substr(7);
        if (path.rfind("localhost/", 0) == 0)
            path = path.substr(9);
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
    const std::optional<LinkResult> r = Cache().find(AddressIn(vlr::modules::TextFrom(text)));
    hint = r ? HintText(*r) : std::string();
    return hint.c_str();
}

static_assert(std::is_same_v<decltype(&DoValidate), DoValidateFn>);
static_assert(std::is_same_v<decltype(&GetHint), GetHintFn>);
