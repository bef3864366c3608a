#include "app/shell/VeloraApplication.h"

#include "platform/Window.h"

namespace vlr {

VeloraApplication::VeloraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VeloraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (sink_)
            sink_->HandleExceptionEx(receiver, std::current_exception());
        else
            ReportUnhandledException(std::current_exception());
        return false;
    }
}

}  // namespace vlr
