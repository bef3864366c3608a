#include "platform/Prompter.h"

#include "platform/QtPrompter.h"

#include <utility>

namespace vlr {
namespace {
Prompter*& installed() {
    static Prompter* p = nullptr;
    return p;
}
}  // namespace

Prompter& CurrentPrompter() {
    if (installed())
        return *installed();
    static QtPrompter qtPrompter;
    return qtPrompter;
}

void SetPrompter(Prompter* prompter) { installed() = prompter; }

ModalResult DefaultAnswer(unsigned buttons) {
    if (buttons & BtnYes) return ModalResult::Yes;
    if (buttons & BtnOk) return ModalResult::Ok;
    if (buttons & BtnAbort) return ModalResult::Abort;
    if (buttons & BtnRetry) return ModalResult::Retry;
    if (buttons & BtnNo) return ModalResult::No;
    if (buttons & BtnIgnore) return ModalResult::Ignore;
    if (buttons & BtnCancel) return ModalResult::Cancel;
    return ModalResult::Ok;
}

ModalResult DefaultAnswer(const MessageBoxRequest& request) {
    const unsigned buttons = request.buttons ? request.buttons : BtnOk;
    const std::pair<ModalResult, unsigned> own[] = {
        {ModalResult::Ok, BtnOk},       {ModalResult::Cancel, BtnCancel}, {ModalResult::Abort, BtnAbort},
        {ModalResult::Retry, BtnRetry}, {ModalResult::Ignore, BtnIgnore}, {ModalResult::Yes, BtnYes},
        {ModalResult::No, BtnNo}};
    for (const auto& [result, flag] : own)
        if (request.defaultAnswer == result && (buttons & flag))
            return result;
    return DefaultAnswer(buttons);
}

std::string KindCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information: return "Information";
    case MessageKind::Error: return "Error";
    case MessageKind::Confirmation: return "Confirm";
    case MessageKind::Warning: return "Warning";
    }
    return "Information";
}

BeepKind KindBeep(MessageKind kind) {
    switch (kind) {
    case MessageKind::Information: return BeepKind::Asterisk;
    case MessageKind::Error: return BeepKind::Hand;
    case MessageKind::Confirmation: return BeepKind::Question;
    case MessageKind::Warning: return BeepKind::Exclamation;
    }
    return BeepKind::Default;
}

ModalResult ShowMessage(MessageKind kind, const std::string& caption, const std::string& text, unsigned buttons) {
    Prompter& p = CurrentPrompter();
    p.Beep(KindBeep(kind));
    MessageBoxRequest request;
    request.kind = kind;
    request.caption = caption.empty() ? KindCaption(kind) : caption;
    request.text = text;
    request.buttons = buttons;
    return p.MessageBox(request);
}

ModalResult ShowKindMessage(const std::string& kind, const std::string& text, unsigned buttons) {
    MessageKind k;
    if (kind == "Information")
        k = MessageKind::Information;
    else if (kind == "Error")
        k = MessageKind::Error;
    else if (kind == "Question")
        k = MessageKind::Confirmation;
    else if (kind == "Warning")
        k = MessageKind::Warning;
    else
        return ModalResult::None;
    return ShowMessage(k, "", text, buttons);
}

std::optional<std::string> OpenFile(const FileDialogRequest& request) {
    auto files = CurrentPrompter().OpenFiles(request);
    if (!files || files->empty())
        return std::nullopt;
    return files->front();
}

std::string QtFilterFrom(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= filter.size()) {
        std::size_t bar = filter.find('|', pos);
        if (bar == std::string::npos)
            bar = filter.size();
        parts.push_back(filter.substr(pos, bar - pos));
        pos = bar + 1;
    }
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (char& c : patterns)
            if (c == ';')
                c = ' ';
        if (!out.empty())
            out += ";;";
        out += parts[i] + " (" + patterns + ")";
    }
    return out;
}

}  // namespace vlr
