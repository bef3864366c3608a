#include "editor/recovery/ProcessIdentity.h"
#include "editor/recovery/RecoveryFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kText = QByteArray("<p>caf\xc3\xa9</p>\r\n\0tail\n\n", 21);

TEST(RecoveryFileTest, TextAndNameRoundTripExactly) {
    const QDateTime when = QDateTime::fromString(QStringLiteral("2026-12-09T14:25:00.123Z"), Qt::ISODateWithMs);
    const QString odd = QStringLiteral("/home/u/my site/caf\u00e9 100%\nnew.hts");
    for (const QString& path : {odd, QString()}) {
        const QByteArray bytes = vlr::EncodeRecoveryFile(path, when, kText);
        vlr::RecoveryHeader header;
        QByteArray text;
        QString reason;
        ASSERT_TRUE(vlr::DecodeRecoveryFile(bytes, header, &text, &reason)) << reason.toStdString();
        EXPECT_EQ(header.documentPath, path);
        EXPECT_EQ(header.saved, when);
        EXPECT_EQ(header.size, kText.size());
        EXPECT_EQ(text, kText);
    }
    EXPECT_TRUE(vlr::EncodeRecoveryFile(QString(), when, "x").contains("\nuntitled\n"));
}

TEST(RecoveryFileTest, DamagedCopiesAreRefusedWithAReason) {
    const QByteArray good = vlr::EncodeRecoveryFile(QStringLiteral("/p/a.hts"), QDateTime::currentDateTimeUtc(), kText);
    struct Case {
        QByteArray bytes;
        const char* reason;
    };
    QByteArray flipped = good;
    flipped[flipped.size() - 3] = 'X';
    const Case cases[] = {
        {QByteArray(), "not a recovery file"},
        {QByteArray("garbage\n\nmore"), "not a recovery file"},
        {good.left(good.indexOf("\n\n")), "header is incomplete"},
        {QByteArray(good).replace("size ", "sise "), "header is incomplete"},
        {good.chopped(5), "cut short"},
        {good + "extra", "cut short"},
        {flipped, "checksum"},
    };
    for (const Case& c : cases) {
        vlr::RecoveryHeader header;
        QByteArray text;
        QString reason;
        EXPECT_FALSE(vlr::DecodeRecoveryFile(c.bytes, header, &text, &reason)) << c.reason;
        EXPECT_TRUE(reason.contains(QLatin1String(c.reason))) << reason.toStdString();
    }
}

TEST(ProcessIdentityTest, TellsARunningProcessFromAnEndedOrReusedOne) {
    const vlr::ProcessIdentity me = vlr::CurrentProcessIdentity();
    EXPECT_TRUE(vlr::IsProcessRunning(me));
    vlr::ProcessIdentity back;
    ASSERT_TRUE(vlr::ProcessIdentity::Parse(me.Serialize(), back));
    EXPECT_EQ(back.pid, me.pid);
    EXPECT_EQ(back.startTicks, me.startTicks);
    EXPECT_TRUE(vlr::IsProcessRunning(back));

    // The same id with another start time is a different process.
    vlr::ProcessIdentity reused = me;
    reused.startTicks = "1";
    EXPECT_FALSE(vlr::IsProcessRunning(reused));
    vlr::ProcessIdentity otherBoot = me;
    otherBoot.bootId = "00000000-0000-0000-0000-000000000000";
    EXPECT_FALSE(vlr::IsProcessRunning(otherBoot));

    // An ended child, before and after it is reaped.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    vlr::ProcessIdentity ended{child, {}, me.bootId};
    for (int i = 0; i < 200 && vlr::IsProcessRunning(ended); ++i)
        ::usleep(5000);
    EXPECT_FALSE(vlr::IsProcessRunning(ended)) << "a zombie counts as ended";
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(vlr::IsProcessRunning(ended));

    EXPECT_FALSE(vlr::ProcessIdentity::Parse("start 5\nboot x\n", back));
    EXPECT_FALSE(vlr::ProcessIdentity::Parse("pid -3\n", back));
}

}  // namespace
