// Window registry and window messages.
//
// A window is any object that answers messages; it is registered under an opaque
// handle together with its class name ("TFrmMainVLR", "TFrmEditor", ...). Messages
// are sent (handled at once, result returned) or posted (queued and delivered in
// order by the Qt event loop once the current handler has returned). Messages to a
// handle that is no longer registered are dropped.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

class QWidget;

namespace vlr {

using Handle = std::uintptr_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

class MessageHandler {
public:
    virtual ~MessageHandler() = default;
    virtual LResult handleMessage(unsigned msg, WParam wParam, LParam lParam) = 0;
};

// Registers a window; the returned handle is never 0 and never reused.
Handle RegisterWindow(MessageHandler* handler, const std::string& className, QWidget* widget = nullptr);
// Forgets the window. Queued messages for it are dropped when their turn comes.
void UnregisterWindow(Handle handle);
bool IsWindow(Handle handle);
// The class name of a registered window, "" for an unknown handle.
std::string GetClassName(Handle handle);
MessageHandler* WindowHandler(Handle handle);
// The Qt widget that shows the window, when it has one (nullptr otherwise).
QWidget* WindowWidget(Handle handle);
// Finds the first registered window of a class (0 when there is none).
Handle FindWindowOfClass(const std::string& className);

// Calls the window's handler now; 0 for an unknown handle. Exceptions of the
// handler reach the caller.
LResult SendMessage(Handle handle, unsigned msg, WParam wParam, LParam lParam);
// Queues the message; false for an unknown handle.
bool PostMessage(Handle handle, unsigned msg, WParam wParam, LParam lParam);
// Lets pending window messages run: the posted queue and Qt's pending events.
void ProcessMessages();
// Number of posted messages not yet delivered.
std::size_t PendingMessageCount();

// Receives exceptions raised by handlers of posted messages, which have no
// caller to reach. Without a hook the exception text goes to stderr.
using UnhandledExceptionHook = std::function<void(std::exception_ptr)>;
void SetUnhandledExceptionHook(UnhandledExceptionHook hook);
void ReportUnhandledException(std::exception_ptr error);

}  // namespace vlr
