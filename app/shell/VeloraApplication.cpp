#include "app/shell/VeloraApplication.h"

#include "platform/Window.h"

#include <QTranslator>

namespace vlr {
namespace {

// The main window's title while a document window is maximised: Qt's
// "Program - [Document]" becomes "Document - Program". The window system
// then shows the program's caption once: Qt adds the application's display
// name (the project's caption) to every title that does not already end
// with it.
class MaximisedTitleForm final : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "QMdiSubWindow") != 0)
            return {};
        if (qstrcmp(source, "%1 - [%2]") == 0)
            return QStringLiteral("%2 - %1");
        // What the window looks for to tell that its title is already there.
        if (qstrcmp(source, "- [%1]") == 0)
            return QStringLiteral("%1 - ");
        return {};
    }
};

}  // namespace

VeloraApplication::VeloraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    installTranslator(new MaximisedTitleForm(this));
}

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
