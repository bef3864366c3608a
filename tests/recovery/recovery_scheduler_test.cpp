#include "editor/recovery/RecoveryScheduler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class Document : public QObject, public vlr::RecoverySource {
public:
    QString RecoveryDocumentPath() const override { return path; }
    QByteArray RecoveryText() const override {
        ++asked;
        return text;
    }
    QString path;
    QByteArray text;
    mutable int asked = 0;
};

// Runs the event loop for a while, or until `done` holds.
template <class Pred>
bool spin(std::chrono::milliseconds limit, Pred done) {
    QDeadlineTimer deadline(limit);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
void spin(std::chrono::milliseconds time) {
    spin(time, [] { return false; });
}

class RecoverySchedulerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(store.BeginSession());
        QObject::connect(&scheduler, &vlr::RecoveryScheduler::RecoveryWritten,
                         [this](const QString& id) { written.append(id); });
        QObject::connect(&scheduler, &vlr::RecoveryScheduler::RecoveryFailed,
                         [this](const QString& id, const QString&) { failed.append(id); });
    }
    void TearDown() override { store.EndSession(); }
    QTemporaryDir temp;
    vlr::RecoveryStore store{temp.filePath(QStringLiteral("recovery"))};
    vlr::RecoveryScheduler scheduler{store};
    QStringList written, failed;
};

TEST_F(RecoverySchedulerTest, WritesOnceAfterTheLastChangeWithTheLatestText) {
    EXPECT_EQ(scheduler.Delay(), 3000ms);
    scheduler.SetDelay(150ms);
    Document doc;
    doc.path = QStringLiteral("/p/a.hts");
    QElapsedTimer clock;
    clock.start();
    qint64 lastChange = 0;
    for (int i = 0; i < 5; ++i) {
        if (i > 0)
            spin(30ms);
        doc.text = "version " + QByteArray::number(i);
        scheduler.DocumentChanged(QStringLiteral("1"), doc);
        lastChange = clock.elapsed();
    }
    ASSERT_TRUE(spin(5s, [&] { return !written.isEmpty(); }));
    // Never before the delay has passed since the last change (a coarse
    // timer may fire up to 5% early).
    EXPECT_GE(clock.elapsed() - lastChange, 140);
    EXPECT_EQ(written, QStringList{QStringLiteral("1")});
    EXPECT_EQ(doc.asked, 1);
    EXPECT_FALSE(scheduler.IsPending(QStringLiteral("1")));
    EXPECT_TRUE(store.Has(QStringLiteral("1")));

    // Saving the document cancels a pending copy and deletes the written one.
    doc.text = "version 5";
    scheduler.DocumentChanged(QStringLiteral("1"), doc);
    scheduler.DocumentSaved(QStringLiteral("1"));
    EXPECT_FALSE(store.Has(QStringLiteral("1")));
    spin(400ms);
    EXPECT_EQ(written.size(), 1);
    EXPECT_EQ(doc.asked, 1);
}

TEST_F(RecoverySchedulerTest, ClosingCancelsAndContinuousTypingStillGetsACopy) {
    scheduler.SetDelay(100ms);
    Document closed, typed;
    scheduler.DocumentChanged(QStringLiteral("closed"), closed);
    scheduler.DocumentClosed(QStringLiteral("closed"));
    EXPECT_FALSE(scheduler.IsPending(QStringLiteral("closed")));

    // Changes every 30 ms never leave 100 ms of quiet; the upper bound writes anyway.
    scheduler.SetMaxDelay(300ms);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500 && written.isEmpty()) {
        typed.text += 'x';
        scheduler.DocumentChanged(QStringLiteral("typed"), typed);
        spin(30ms);
    }
    EXPECT_EQ(written, QStringList{QStringLiteral("typed")});
    EXPECT_FALSE(store.Has(QStringLiteral("closed")));
    EXPECT_EQ(closed.asked, 0);
}

TEST_F(RecoverySchedulerTest, ADestroyedSourceIsNeverAsked) {
    scheduler.SetDelay(50ms);
    {
        Document doc;
        scheduler.DocumentChanged(QStringLiteral("gone"), doc);
    }
    EXPECT_FALSE(scheduler.IsPending(QStringLiteral("gone")));
    spin(200ms);
    EXPECT_TRUE(written.isEmpty());
    EXPECT_TRUE(failed.isEmpty());
}

TEST_F(RecoverySchedulerTest, FailuresAreReportedAndSaveAllNowWritesAtOnce) {
    Document a, b;
    a.text = "A";
    b.text = "B";
    scheduler.DocumentChanged(QStringLiteral("a"), a);
    scheduler.DocumentChanged(QStringLiteral("bad/id"), b);
    scheduler.SaveAllNow();
    EXPECT_EQ(written, QStringList{QStringLiteral("a")});
    EXPECT_EQ(failed, QStringList{QStringLiteral("bad/id")});
    EXPECT_FALSE(scheduler.IsPending(QStringLiteral("a")));
}

}  // namespace
