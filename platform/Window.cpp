#include "platform/Window.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <deque>
#include <iostream>
#include <map>

namespace vlr {
namespace {

struct WindowEntry {
    MessageHandler* handler;
    std::string className;
    QWidget* widget;
};

struct PostedMessage {
    Handle handle;
    unsigned msg;
    WParam wParam;
    LParam lParam;
};

struct Registry {
    std::map<Handle, WindowEntry> windows;
    Handle nextHandle = 0x1000;
    std::deque<PostedMessage> queue;
    bool deliveryScheduled = false;
    UnhandledExceptionHook exceptionHook;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

void deliverQueue();

// Asks the event loop to deliver the queue once the current handler has returned.
void scheduleDelivery() {
    Registry& r = registry();
    if (r.deliveryScheduled || !QCoreApplication::instance())
        return;
    r.deliveryScheduled = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] {
        registry().deliveryScheduled = false;
        deliverQueue();
    }, Qt::QueuedConnection);
}

void deliverQueue() {
    Registry& r = registry();
    // Only the messages queued so far: a handler that posts again is served on the
    // next turn of the loop, so a self-posting window cannot starve other events.
    std::size_t todo = r.queue.size();
    while (todo-- > 0 && !r.queue.empty()) {
        PostedMessage m = r.queue.front();
        r.queue.pop_front();
        if (!IsWindow(m.handle))
            continue;
        try {
            SendMessage(m.handle, m.msg, m.wParam, m.lParam);
        } catch (...) {
            ReportUnhandledException(std::current_exception());
        }
    }
    if (!r.queue.empty())
        scheduleDelivery();
}

}  // namespace

Handle RegisterWindow(MessageHandler* handler, const std::string& className, QWidget* widget) {
    Registry& r = registry();
    Handle h = r.nextHandle;
    r.nextHandle += 0x10;
    r.windows[h] = WindowEntry{handler, className, widget};
    return h;
}

void UnregisterWindow(Handle handle) { registry().windows.erase(handle); }

bool IsWindow(Handle handle) { return registry().windows.count(handle) != 0; }

std::string GetClassName(Handle handle) {
    auto& w = registry().windows;
    auto it = w.find(handle);
    return it == w.end() ? std::string() : it->second.className;
}

MessageHandler* WindowHandler(Handle handle) {
    auto& w = registry().windows;
    auto it = w.find(handle);
    return it == w.end() ? nullptr : it->second.handler;
}

QWidget* WindowWidget(Handle handle) {
    auto& w = registry().windows;
    auto it = w.find(handle);
    return it == w.end() ? nullptr : it->second.widget;
}

Handle FindWindowOfClass(const std::string& className) {
    for (const auto& [handle, entry] : registry().windows)
        if (entry.className == className)
            return handle;
    return 0;
}

LResult SendMessage(Handle handle, unsigned msg, WParam wParam, LParam lParam) {
    MessageHandler* handler = WindowHandler(handle);
    if (!handler)
        return 0;
    return handler->handleMessage(msg, wParam, lParam);
}

bool PostMessage(Handle handle, unsigned msg, WParam wParam, LParam lParam) {
    if (!IsWindow(handle))
        return false;
    registry().queue.push_back(PostedMessage{handle, msg, wParam, lParam});
    scheduleDelivery();
    return true;
}

void ProcessMessages() {
    deliverQueue();
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    deliverQueue();
}

std::size_t PendingMessageCount() { return registry().queue.size(); }

void SetUnhandledExceptionHook(UnhandledExceptionHook hook) {
    registry().exceptionHook = std::move(hook);
}

void ReportUnhandledException(std::exception_ptr error) {
    Registry& r = registry();
    if (r.exceptionHook) {
        r.exceptionHook(error);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::cerr << "Unhandled exception: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "Unhandled exception of unknown type\n";
    }
}

}  // namespace vlr
