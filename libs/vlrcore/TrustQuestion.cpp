// The question about a project that reaches outside its folder.
#include "libs/vlrcore/TrustQuestion.h"

#include "platform/Prompter.h"
#include "platform/System.h"
#include "project/build/TrustedProjects.h"

#include <QApplication>
#include <QCursor>

#include <set>

namespace vlr::core {
namespace {

// Projects answered in this run: No, and Yes when it could not be kept.
std::set<std::string>& refusedNow() {
    static std::set<std::string> keys;
    return keys;
}
std::set<std::string>& trustedNow() {
    static std::set<std::string> keys;
    return keys;
}

// The question is asked in the middle of a build, under its busy cursor.
class ArrowCursor {
public:
    ArrowCursor() : shown_(QApplication::overrideCursor() != nullptr) {
        if (shown_)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowCursor() {
        if (shown_)
            QApplication::restoreOverrideCursor();
    }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;

private:
    bool shown_;
};

}  // namespace

bool MayBuildOutside(const std::string& projectFile, const std::string& outside) {
    const std::string key = build::TrustedProjects::KeyOf(projectFile);
    const std::string storeFile = WritablePath(build::kTrustedProjectsName);
    build::TrustedProjects trusted(storeFile);
    if (trusted.Contains(projectFile) || trustedNow().count(key))
        return true;
    if (refusedNow().count(key))
        return false;

    MessageBoxRequest box;
    box.kind = MessageKind::Warning;
    box.caption = kTrustCaption;
    box.text = "The project " + projectFile + " reaches outside its own folder: " + outside +
               ".\n\nA project from someone else can use this to read your files into its pages, or to write "
               "pages over them, and the next upload would publish what it read.\n\n"
               "Do you trust this project? Yes builds it and remembers your answer; No stops the build.";
    box.buttons = BtnYesNo;
    box.defaultAnswer = ModalResult::No;
    ModalResult answer;
    {
        ArrowCursor arrow;
        CurrentPrompter().Beep(KindBeep(box.kind));
        answer = CurrentPrompter().MessageBox(box);
    }
    if (answer != ModalResult::Yes) {
        refusedNow().insert(key);
        return false;
    }
    std::string error;
    if (!trusted.Add(projectFile, &error)) {
        trustedNow().insert(key);
        ShowMessage(MessageKind::Error, kTrustCaption,
                    "Your answer could not be kept in " + storeFile + " (" + error +
                        "). The project is trusted until the program ends.");
    }
    return true;
}

}  // namespace vlr::core
