// Build progress as window messages.
#include "libs/vlrcore/MessageReporter.h"

#include "platform/Record.h"

namespace vlr::core {
namespace {

void sendText(Handle window, unsigned msg, const std::string& text) {
    if (!window || !IsWindow(window))
        return;
    RecordPtr r = MakeRecord(text);
    // The receiving window owns the record from here on.
    SendMessage(window, msg, 0, reinterpret_cast<LParam>(r.release()));
}

}  // namespace

void MessageReporter::FileCount(int count) { sendText(window_, MSG_PROGRESS_MAX, std::to_string(count)); }

void MessageReporter::FileDone() {
    if (window_ && IsWindow(window_))
        SendMessage(window_, MSG_PROGRESS_STEP, 0, 0);
}

void MessageReporter::StatusText(const std::string& text) { sendText(window_, MSG_STATUS_TEXT, text); }

void MessageReporter::Finished() {
    if (window_ && IsWindow(window_))
        SendMessage(window_, MSG_PROGRESS_RESET, 0, 0);
}

}  // namespace vlr::core
