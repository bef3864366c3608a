// Shared fixtures of the module tests: the application object, modules loaded
// from the run folder, a temporary program folder, a stand-in main window and
// a driver that answers modal dialogs.
#pragma once

#include "platform/Library.h"
#include "platform/Window.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QApplication;
class QMdiArea;

namespace vlrtest {

// The one QApplication of the test program (offscreen unless told otherwise).
QApplication& App();

// A module of the run folder ("vlrcore" loads vlrcore.so), loaded once.
vlr::LibraryHandle Module(const std::string& name);

template <typename Fn>
Fn Entry(const std::string& module, const char* name) {
    return reinterpret_cast<Fn>(vlr::GetProcAddress(Module(module), name));
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A fresh temporary folder used as the program folder (VELORA_APPDIR).
class TempAppDir {
public:
    TempAppDir();
    std::string path() const;  // with a trailing "/"
    std::string file(const std::string& name) const { return path() + name; }

private:
    QTemporaryDir dir_;
    std::unique_ptr<ScopedEnv> env_;
};

// Stand-in for the main window: a registered "TFrmMainVLR" that records the
// messages it receives and releases the records of 2322 and 3061 as the real
// one does.
class FakeMainWindow : public QMainWindow, public vlr::MessageHandler {
public:
    struct Received {
        unsigned msg;
        std::string first;  // of the record, for 2322 and 3061
    };

    explicit FakeMainWindow(bool withDocumentArea = true);
    ~FakeMainWindow() override;

    vlr::Handle handle() const { return handle_; }
    QMdiArea* area() const { return area_; }
    const std::vector<Received>& received() const { return received_; }
    // The document kinds of the 2322 messages, in order.
    std::vector<std::string> kinds() const;
    int count(unsigned msg) const;

    vlr::LResult handleMessage(unsigned msg, vlr::WParam wParam, vlr::LParam lParam) override;

    // The answer to the project file query (3085); empty: the query is not answered.
    std::string projectFile;

private:
    vlr::Handle handle_ = 0;
    QMdiArea* area_ = nullptr;
    std::vector<Received> received_;
};

// Answers the next modal dialog: once one shows, act runs with it (act must
// close it). A dialog still open three seconds after act is rejected so that
// a failing test cannot hang.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> act);
    bool acted() const { return acted_; }
    bool stuck() const { return stuck_; }

private:
    void poll();

    std::function<void(QWidget*)> act_;
    QTimer timer_;
    QElapsedTimer sinceAct_;
    bool acted_ = false;
    bool stuck_ = false;
};

// Lets posted events, deferred deletions included, run.
void Settle();

}  // namespace vlrtest
