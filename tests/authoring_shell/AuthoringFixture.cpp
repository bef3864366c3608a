// The authoring tests' fixture.
#include "AuthoringFixture.h"

#include "app/commands/MainCommands.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "memo/engine/LineBreaks.h"
#include "platform/Record.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

namespace vlrtest {

void AuthoringTest::TearDown() {
    ::setenv("VELORA_PROMPTS", "log", 1);
    if (w) {
        w->close();
        vlr::ProcessMessages();
        w.reset();
    }
    ShellTest::TearDown();
}

void AuthoringTest::Open(bool lowerTags, bool modern) {
    WritePreferences(std::string("[Environment]\r\nLowerTags=") + (lowerTags ? "1" : "0") +
                     "\r\nModernHTML=" + (modern ? "1" : "0") + "\r\nNewEditor=0\r\nLastProject=0\r\n");
    w = NewMainWindow();
    editor = w->Editors().OpenNewEditor();
    ASSERT_NE(editor, nullptr);
    vlr::ProcessMessages();
}

void AuthoringTest::Trigger(const char* command) {
    QAction* a = w->Commands().action(QString::fromLatin1(command));
    ASSERT_NE(a, nullptr) << command;
    ASSERT_TRUE(a->isEnabled()) << command;
    a->trigger();
    vlr::ProcessMessages();
}

vlr::Handle AuthoringTest::EditorHandle() const { return editor->handle(); }

void AuthoringTest::Set(const std::string& text, int start, int length) {
    auto send = [this](unsigned msg, const std::string& first) {
        vlr::RecordPtr r = vlr::MakeRecord(first);
        vlr::SendMessage(EditorHandle(), msg, 0, reinterpret_cast<vlr::LParam>(r.release()));
    };
    send(vlr::EM_SET_TEXT, text);
    send(vlr::EM_SET_SEL_START, std::to_string(start));
    send(vlr::EM_SET_SEL_LENGTH, std::to_string(length));
}

std::string AuthoringTest::Text() {
    return vlr::FirstText(vlr::AdoptRecord(vlr::SendMessage(EditorHandle(), vlr::EM_GET_TEXT, 0, 0)));
}

std::pair<int, int> AuthoringTest::Caret() {
    vlr::RecordPtr r = vlr::AdoptRecord(vlr::SendMessage(EditorHandle(), vlr::EM_GET_CARET, 0, 0));
    return {std::stoi(vlr::FirstText(r)), std::stoi(vlr::SecondText(r))};
}

void AnswerNextDialog(const char* className, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto* since = new QElapsedTimer;
    auto acted = std::make_shared<bool>(false);
    const std::string wanted = className;
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!*acted) {
            if (!modal || (!wanted.empty() && modal->objectName().toStdString() != wanted))
                return;
            *acted = true;
            since->start();
            act(modal);
            return;
        }
        if (modal && since->elapsed() > 3000) {
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->reject();
            return;
        }
        if (!modal) {
            timer->stop();
            timer->deleteLater();
            delete since;
        }
    });
    timer->start(10);
}

std::string Exported(const std::string& text) {
    return velora::memo::exportBreaks(velora::memo::normaliseBreaks(text), velora::memo::BreakStyle::CRLF);
}

std::pair<int, int> CaretAt(const std::string& exported, std::size_t offset) {
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset && i < exported.size(); ++i)
        if (exported[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    return {static_cast<int>(offset - lineStart) + 1, line};
}

}  // namespace vlrtest
