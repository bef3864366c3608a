// Every message box, beep, input box and file dialog of the program goes
// through one prompter. The Qt prompter shows real dialogs (or, under
// VELORA_PROMPTS=log, prints them to stderr and takes the default answer); the
// scripted prompter records what was asked and answers from a script.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vlr {

enum class MessageKind { Information, Error, Confirmation, Warning };
enum class BeepKind { Asterisk, Hand, Question, Exclamation, Default };

// Button set of a message box, as bit flags.
enum Buttons : unsigned {
    BtnOk = 1,
    BtnCancel = 2,
    BtnYes = 4,
    BtnNo = 8,
    BtnAbort = 16,
    BtnRetry = 32,
    BtnIgnore = 64,
    BtnOkCancel = BtnOk | BtnCancel,
    BtnYesNo = BtnYes | BtnNo,
    BtnYesNoCancel = BtnYes | BtnNo | BtnCancel,
};

// The answer of a message box, numbered like the desktop's dialog results.
enum class ModalResult { None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxRequest {
    MessageKind kind = MessageKind::Information;
    std::string caption;
    std::string text;
    unsigned buttons = BtnOk;
    // The answer of Enter and of a box that is not shown; None: the first
    // button of the set (DefaultAnswer). A question whose safe answer is No
    // sets No here.
    ModalResult defaultAnswer = ModalResult::None;
};

struct FileDialogRequest {
    std::string title;
    // "Description|*.a;*.b|Other|*.c", as the program's dialogs give it.
    std::string filter;
    int filterIndex = 1;  // one-based
    std::string initialDir;
    std::string fileName;
    std::string defaultExt;  // without the dot
    bool mustExist = false;
    bool multiSelect = false;
    bool overwritePrompt = false;
};

struct InputBoxRequest {
    std::string caption;
    std::string prompt;
    std::string value;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual ModalResult MessageBox(const MessageBoxRequest& request) = 0;
    virtual void Beep(BeepKind kind) = 0;
    virtual std::optional<std::string> InputBox(const InputBoxRequest& request) = 0;
    // Chosen files (one unless multiSelect), or nothing when cancelled.
    virtual std::optional<std::vector<std::string>> OpenFiles(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
};

// The prompter in use. Until one is installed, a Qt prompter is created.
Prompter& CurrentPrompter();
// Installs a prompter (not owned); nullptr returns to the Qt prompter.
void SetPrompter(Prompter* prompter);

// The first button of a set that a box answers with when it is not shown.
ModalResult DefaultAnswer(unsigned buttons);
// The default of a box: its own when it names one of its buttons.
ModalResult DefaultAnswer(const MessageBoxRequest& request);
// The caption a box of this kind gets when none is given.
std::string KindCaption(MessageKind kind);
BeepKind KindBeep(MessageKind kind);

// Beeps for the kind, then shows a message box of that kind; an empty caption
// becomes the kind's own caption.
ModalResult ShowMessage(MessageKind kind, const std::string& caption, const std::string& text,
                        unsigned buttons = BtnOk);
// The kind word "Information", "Error", "Question" or "Warning" selects the
// kind; any other word shows nothing and answers ModalResult::None.
ModalResult ShowKindMessage(const std::string& kind, const std::string& text, unsigned buttons);

std::optional<std::string> OpenFile(const FileDialogRequest& request);

// Turns "Desc|*.a;*.b|Other|*.c" into Qt's "Desc (*.a *.b);;Other (*.c)".
std::string QtFilterFrom(const std::string& filter);

}  // namespace vlr
