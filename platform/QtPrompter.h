// The prompter of the running program: real Qt dialogs, or, when prompts are
// logged (VELORA_PROMPTS=log), a line on stderr per prompt and the default answer.
#pragma once

#include "platform/Prompter.h"

namespace vlr {

class QtPrompter : public Prompter {
public:
    ModalResult MessageBox(const MessageBoxRequest& request) override;
    void Beep(BeepKind kind) override;
    std::optional<std::string> InputBox(const InputBoxRequest& request) override;
    std::optional<std::vector<std::string>> OpenFiles(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
};

}  // namespace vlr
