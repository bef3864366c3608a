// The Qt application object: it passes exceptions that escape an event
// handler to the program's exception report instead of ending the program.
#pragma once

#include <QApplication>

#include <exception>

namespace vlr {

// Where exceptions that escape an event handler are reported: the main window.
class ExceptionSink {
public:
    virtual ~ExceptionSink() = default;
    virtual void HandleExceptionEx(QObject* sender, std::exception_ptr error) = 0;
};

class VeloraApplication : public QApplication {
    Q_OBJECT
public:
    VeloraApplication(int& argc, char** argv);
    void setExceptionSink(ExceptionSink* sink) { sink_ = sink; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    ExceptionSink* sink_ = nullptr;
};

}  // namespace vlr
