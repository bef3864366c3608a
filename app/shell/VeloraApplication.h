// The Qt application object: it passes exceptions that escape an event
// handler to the program's exception report instead of ending the program.
#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace vlr {

class VeloraApplication : public QApplication {
    Q_OBJECT
public:
    using ExceptionHandler = std::function<void(QObject* sender, std::exception_ptr error)>;

    VeloraApplication(int& argc, char** argv);
    void setExceptionHandler(ExceptionHandler handler) { handler_ = std::move(handler); }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    ExceptionHandler handler_;
};

}  // namespace vlr
