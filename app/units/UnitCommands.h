// Running a unit's code as a main-window method: the method's name is stored
// for the exception report, and no exception leaves the handler, so none
// unwinds through Qt's event loop or back into an outside module.
#pragma once

#include "app/units/ShellServices.h"

#include <functional>
#include <string>
#include <utility>

class QObject;

namespace vlr {

// Runs `body` as the main-window method `method`; an exception is reported
// and swallowed. Returns false when one was thrown.
template <class Body>
bool RunGuarded(ShellServices& shell, QObject* sender, const char* method, Body&& body) {
    try {
        shell.Enter(method);
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        shell.ReportException(sender, std::current_exception());
        return false;
    }
}

// Runs `handler` as the method `method` each time the named command of the
// command tables is triggered. Returns false when no command has that name.
bool ConnectCommand(ShellServices& shell, QObject* context, const char* command, std::string method,
                    std::function<void()> handler);

}  // namespace vlr
