// Reports a site build to a window through the main-window messages:
// 3058 the number of files, 3059 one step per file, 3061 a status text,
// 3060 at the end. Records go out with the text and are released by the
// receiving window.
#pragma once

#include "platform/Window.h"
#include "project/build/BuildReporter.h"

namespace vlr::core {

enum BuildMessage : unsigned {
    MSG_PROGRESS_MAX = 3058,
    MSG_PROGRESS_STEP = 3059,
    MSG_PROGRESS_RESET = 3060,
    MSG_STATUS_TEXT = 3061,
};

class MessageReporter : public build::BuildReporter {
public:
    // A window handle of 0 (or one that is gone) receives nothing.
    explicit MessageReporter(Handle window) : window_(window) {}

    void FileCount(int count) override;
    void FileDone() override;
    void StatusText(const std::string& text) override;
    void Finished() override;

private:
    Handle window_;
};

}  // namespace vlr::core
