// The upload module: WpPostA runs the upload wizard.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/webpost/UploadWizard.h"
#include "platform/Prompter.h"
#include "platform/Record.h"
#include "platform/System.h"
#include "platform/Window.h"

#include <algorithm>

#include <cstring>
#include <exception>
#include <iostream>
#include <type_traits>

namespace {

constexpr unsigned kProjectFileQuery = 3085;
constexpr std::size_t kTextBuffer = 261;

// A text of one of the 261-byte buffers, never read past the buffer.
std::string BufferText(const char* buffer, std::size_t limit) {
    if (!buffer)
        return {};
    return std::string(buffer, ::strnlen(buffer, limit));
}

// The open project, asked of the owner window (the main window answers 3085).
std::string ProjectOf(vlr::Handle owner) {
    if (!owner || vlr::GetClassName(owner) != "TFrmMainVLR")
        return {};
    vlr::RecordPtr r = vlr::AdoptRecord(vlr::SendMessage(owner, kProjectFileQuery, 0, 0));
    return vlr::FirstText(r);
}

}  // namespace

// Runs the upload wizard owned by the given window. The first text, when the
// flag says it is there, is the local folder to upload; the second, when its
// length is not 0, is the destination. Answers 1 when the wizard ran (it
// reports upload problems itself) and 0 when it could not run.
VLR_ENTRY_POINT std::int32_t WpPostA(vlr::Handle owner, std::int32_t hasFirst, char* first,
                                     std::int32_t* secondLength, char* second, std::int32_t, std::int32_t,
                                     std::int32_t) {
    try {
        if (!vlr::modules::HaveWidgetApplication())
            return 0;
        if (vlr::PromptsAreLogged()) {
            vlr::modules::LogSkippedDialog("Upload Wizard");
            return 1;
        }
        const std::string folder = hasFirst ? BufferText(first, kTextBuffer - 1) : std::string();
        const std::size_t length =
            secondLength && *secondLength > 0 ? static_cast<std::size_t>(*secondLength) : std::size_t{0};
        const std::string destination = length ? BufferText(second, std::min(length, kTextBuffer - 1)) : std::string();
        vlr::webpost::TFrmUpload wizard(ProjectOf(owner), folder, destination, vlr::modules::OwnerWidget(owner));
        wizard.exec();
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "Upload Wizard: " << e.what() << std::endl;
        return 0;
    } catch (...) {
        return 0;
    }
}

static_assert(std::is_same_v<decltype(&WpPostA), WpPostAFn>);
