#include "platform/ScriptedPrompter.h"

namespace vlr {

ScriptedPrompter::ScriptedPrompter() { SetPrompter(this); }

ScriptedPrompter::~ScriptedPrompter() { SetPrompter(nullptr); }

std::vector<RecordedPrompt> ScriptedPrompter::messages() const {
    std::vector<RecordedPrompt> out;
    for (const auto& p : prompts_)
        if (p.type == RecordedPrompt::Message)
            out.push_back(p);
    return out;
}

ModalResult ScriptedPrompter::MessageBox(const MessageBoxRequest& request) {
    RecordedPrompt p;
    p.type = RecordedPrompt::Message;
    p.kind = request.kind;
    p.caption = request.caption;
    p.text = request.text;
    p.buttons = request.buttons;
    prompts_.push_back(p);
    if (answers_.empty())
        return DefaultAnswer(request);
    ModalResult a = answers_.front();
    answers_.pop_front();
    return a;
}

void ScriptedPrompter::Beep(BeepKind kind) {
    RecordedPrompt p;
    p.type = RecordedPrompt::Beep;
    p.beep = kind;
    prompts_.push_back(p);
}

std::optional<std::string> ScriptedPrompter::InputBox(const InputBoxRequest& request) {
    RecordedPrompt p;
    p.type = RecordedPrompt::Input;
    p.caption = request.caption;
    p.text = request.prompt;
    prompts_.push_back(p);
    if (inputs_.empty())
        return std::nullopt;
    auto a = inputs_.front();
    inputs_.pop_front();
    return a;
}

std::optional<std::vector<std::string>> ScriptedPrompter::OpenFiles(const FileDialogRequest& request) {
    RecordedPrompt p;
    p.type = RecordedPrompt::OpenDialog;
    p.caption = request.title;
    p.dialog = request;
    prompts_.push_back(p);
    if (files_.empty())
        return std::nullopt;
    auto a = files_.front();
    files_.pop_front();
    return a;
}

std::optional<std::string> ScriptedPrompter::SaveFile(const FileDialogRequest& request) {
    RecordedPrompt p;
    p.type = RecordedPrompt::SaveDialog;
    p.caption = request.title;
    p.dialog = request;
    prompts_.push_back(p);
    if (files_.empty())
        return std::nullopt;
    auto a = files_.front();
    files_.pop_front();
    if (!a || a->empty())
        return std::nullopt;
    return a->front();
}

}  // namespace vlr
