#include "platform/Window.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

struct Recorder : vlr::MessageHandler {
    std::vector<unsigned> seen;
    std::function<void(unsigned)> onMessage;
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        seen.push_back(msg);
        if (onMessage)
            onMessage(msg);
        return lParam * 2;
    }
};

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* a = QCoreApplication::instance() ? QCoreApplication::instance()
                                                                : new QCoreApplication(argc, argv);
    return *a;
}

// Runs the event loop until the queue is empty (bounded).
void runLoop() {
    QTimer::singleShot(50, &app(), [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
}

TEST(WindowMessages, SendCallsHandlerAtOnceAndReturnsItsResult) {
    app();
    Recorder r;
    vlr::Handle h = vlr::RegisterWindow(&r, "TFrmTest");
    EXPECT_NE(h, 0u);
    EXPECT_EQ(vlr::GetClassName(h), "TFrmTest");
    EXPECT_EQ(vlr::SendMessage(h, 3000, 0, 21), 42);
    EXPECT_EQ(r.seen, std::vector<unsigned>{3000});
    vlr::UnregisterWindow(h);
    EXPECT_EQ(vlr::GetClassName(h), "");
    EXPECT_EQ(vlr::SendMessage(h, 3000, 0, 1), 0);
    EXPECT_FALSE(vlr::PostMessage(h, 3000, 0, 1));
}

TEST(WindowMessages, PostedMessagesArriveInOrderAfterTheCurrentHandlerReturns) {
    app();
    Recorder r;
    vlr::Handle h = vlr::RegisterWindow(&r, "TFrmTest");
    r.onMessage = [&](unsigned msg) {
        if (msg == 1) {
            vlr::PostMessage(h, 3, 0, 0);
            vlr::PostMessage(h, 4, 0, 0);
            // Nothing posted runs inside the handler that posted it.
            EXPECT_EQ(r.seen.back(), 1u);
        }
    };
    vlr::PostMessage(h, 1, 0, 0);
    vlr::PostMessage(h, 2, 0, 0);
    EXPECT_TRUE(r.seen.empty());
    runLoop();
    EXPECT_EQ(r.seen, (std::vector<unsigned>{1, 2, 3, 4}));
    vlr::UnregisterWindow(h);
}

TEST(WindowMessages, ProcessMessagesDeliversPendingAndDropsMessagesOfClosedWindows) {
    app();
    Recorder a, b;
    vlr::Handle ha = vlr::RegisterWindow(&a, "A");
    vlr::Handle hb = vlr::RegisterWindow(&b, "B");
    vlr::PostMessage(ha, 10, 0, 0);
    vlr::PostMessage(hb, 11, 0, 0);
    vlr::UnregisterWindow(hb);
    vlr::ProcessMessages();
    EXPECT_EQ(a.seen, std::vector<unsigned>{10});
    EXPECT_TRUE(b.seen.empty());
    EXPECT_EQ(vlr::PendingMessageCount(), 0u);
    vlr::UnregisterWindow(ha);
}

TEST(WindowMessages, ExceptionOfAPostedMessageReachesTheHookAndLaterMessagesStillRun) {
    app();
    Recorder r;
    vlr::Handle h = vlr::RegisterWindow(&r, "TFrmTest");
    r.onMessage = [](unsigned msg) {
        if (msg == 1)
            throw std::runtime_error("boom");
    };
    std::string reported;
    vlr::SetUnhandledExceptionHook([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& ex) {
            reported = ex.what();
        }
    });
    vlr::PostMessage(h, 1, 0, 0);
    vlr::PostMessage(h, 2, 0, 0);
    vlr::ProcessMessages();
    EXPECT_EQ(reported, "boom");
    EXPECT_EQ(r.seen, (std::vector<unsigned>{1, 2}));
    vlr::SetUnhandledExceptionHook(nullptr);
    vlr::UnregisterWindow(h);
}

TEST(WindowMessages, HandlesAreNeverReused) {
    Recorder r;
    vlr::Handle a = vlr::RegisterWindow(&r, "X");
    vlr::UnregisterWindow(a);
    vlr::Handle b = vlr::RegisterWindow(&r, "X");
    EXPECT_NE(a, b);
    EXPECT_EQ(vlr::FindWindowOfClass("X"), b);
    vlr::UnregisterWindow(b);
    EXPECT_EQ(vlr::FindWindowOfClass("X"), 0u);
}

}  // namespace
