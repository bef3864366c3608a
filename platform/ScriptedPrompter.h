// A prompter for tests and scripted runs: records every prompt and answers
// from queues; an empty queue answers with the box's default button, a
// cancelled dialog or input box.
#pragma once

#include "platform/Prompter.h"

#include <deque>

namespace vlr {

struct RecordedPrompt {
    enum Type { Message, Beep, Input, OpenDialog, SaveDialog } type = Message;
    MessageKind kind = MessageKind::Information;
    BeepKind beep = BeepKind::Default;
    std::string caption;
    std::string text;
    unsigned buttons = 0;
    FileDialogRequest dialog;
};

class ScriptedPrompter : public Prompter {
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;

    // Answers given in turn to message boxes.
    void QueueAnswer(ModalResult answer) { answers_.push_back(answer); }
    // Answers given in turn to file dialogs and input boxes; nullopt cancels.
    void QueueFiles(std::optional<std::vector<std::string>> files) { files_.push_back(std::move(files)); }
    void QueueFile(const std::string& file) { files_.push_back(std::vector<std::string>{file}); }
    void QueueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }

    const std::vector<RecordedPrompt>& prompts() const { return prompts_; }
    // Message boxes only, in order.
    std::vector<RecordedPrompt> messages() const;
    void Clear() { prompts_.clear(); }

    ModalResult MessageBox(const MessageBoxRequest& request) override;
    void Beep(BeepKind kind) override;
    std::optional<std::string> InputBox(const InputBoxRequest& request) override;
    std::optional<std::vector<std::string>> OpenFiles(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;

private:
    std::vector<RecordedPrompt> prompts_;
    std::deque<ModalResult> answers_;
    std::deque<std::optional<std::vector<std::string>>> files_;
    std::deque<std::optional<std::string>> inputs_;
};

}  // namespace vlr
