#include "editor/recovery/RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <vector>

namespace {

struct Doc {
    QString id;
    QString path;  // empty: untitled
    QByteArray text;
};

class RecoveryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        folder = temp.filePath(QStringLiteral("recovery"));
    }
    // Runs the helper program on the documents and waits until it has written
    // every copy. The process is returned still running in mode "hang".
    std::unique_ptr<QProcess> runHelper(const QString& mode, const QList<Doc>& docs) {
        QStringList args{mode, folder};
        int n = 0;
        for (const Doc& d : docs) {
            QString textFile = temp.filePath(QStringLiteral("text%1").arg(n++));
            QFile f(textFile);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(d.text);
            f.close();
            args << d.id << (d.path.isEmpty() ? QStringLiteral("-") : d.path) << textFile;
        }
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(RECOVERY_HELPER), args);
        EXPECT_TRUE(process->waitForStarted(10000));
        int saved = 0;
        while (saved < docs.size() && process->state() == QProcess::Running) {
            if (!process->canReadLine() && !process->waitForReadyRead(20000))
                break;
            while (process->canReadLine())
                saved += process->readLine().startsWith("saved ");
        }
        EXPECT_EQ(saved, docs.size()) << "the helper did not write its copies";
        return process;
    }
    static void killHard(QProcess& process) {
        process.kill();  // SIGKILL
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
    }
    int sessionFolders() const {
        return static_cast<int>(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    }
    QTemporaryDir temp;
    QString folder;
};

const QByteArray kPage = QByteArray("<html>\r\n<body>caf\xc3\xa9 \t</body>\0\n", 32);

TEST_F(RecoveryStoreTest, KilledSessionIsRecoveredWithItsExactText) {
    QByteArray big;
    for (int i = 0; i < 20000; ++i)
        big += "<p>line " + QByteArray::number(i) + "</p>\n";
    const QList<Doc> docs = {{QStringLiteral("7"), QStringLiteral("/site/src/index.hts"), kPage},
                             {QStringLiteral("8"), QString(), big}};
    auto child = runHelper(QStringLiteral("hang"), docs);
    {
        // While it runs, its copies belong to it and nothing is recovered.
        vlr::RecoveryStore store(folder);
        EXPECT_FALSE(store.PreviousSessionCrashed());
        EXPECT_TRUE(store.List().isEmpty());
    }
    killHard(*child);

    vlr::RecoveryStore store(folder);
    ASSERT_TRUE(store.BeginSession());
    ASSERT_TRUE(store.PreviousSessionCrashed());
    QStringList problems;
    const QList<vlr::RecoveryEntry> entries = store.List(&problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(entries.size(), 2);
    for (const vlr::RecoveryEntry& e : entries) {
        const Doc& doc = e.id == QLatin1String("7") ? docs[0] : docs[1];
        EXPECT_EQ(e.documentPath, doc.path);
        EXPECT_EQ(e.size, doc.text.size());
        EXPECT_TRUE(e.saved.isValid());
        EXPECT_LE(e.saved, QDateTime::currentDateTimeUtc());
        std::optional<QByteArray> text = store.Load(e);
        ASSERT_TRUE(text.has_value());
        EXPECT_TRUE(*text == doc.text) << "text of document " << e.id.toStdString();
    }

    // Restored or refused one by one: the ended session's folder goes with
    // its last copy; this session's folder stays.
    EXPECT_TRUE(store.Discard(entries[0]));
    EXPECT_TRUE(store.PreviousSessionCrashed());
    EXPECT_EQ(sessionFolders(), 2);
    EXPECT_TRUE(store.Discard(entries[1]));
    EXPECT_FALSE(store.PreviousSessionCrashed());
    EXPECT_EQ(sessionFolders(), 1);
    EXPECT_TRUE(store.EndSession());
    EXPECT_EQ(sessionFolders(), 0);
}

TEST_F(RecoveryStoreTest, CleanExitLeavesNothingAndAnEndWithoutCopiesIsNoCrash) {
    auto clean = runHelper(QStringLiteral("clean"), {{QStringLiteral("1"), QString(), kPage}});
    ASSERT_TRUE(clean->waitForFinished(10000));
    EXPECT_EQ(clean->exitCode(), 0);
    EXPECT_EQ(sessionFolders(), 0);

    // A session that ended abruptly with no unsaved document.
    {
        QProcess p;
        p.start(QStringLiteral(RECOVERY_HELPER), {QStringLiteral("exit"), folder});
        ASSERT_TRUE(p.waitForStarted(10000));
        while (!p.canReadLine() && p.waitForReadyRead(20000)) {
        }
        EXPECT_EQ(p.readLine(), "begun\n");
        killHard(p);
    }
    EXPECT_EQ(sessionFolders(), 1);  // the killed helper's folder, marker only
    vlr::RecoveryStore store(folder);
    EXPECT_FALSE(store.PreviousSessionCrashed());
    ASSERT_TRUE(store.BeginSession());  // clears the empty ended folder
    EXPECT_EQ(sessionFolders(), 1);
}

TEST_F(RecoveryStoreTest, ProgramsStartingTogetherAllKeepTheirCopies) {
    // Each start clears the folders of ended sessions; a session that is
    // still being made must never look like one to the others.
    QFile text(temp.filePath(QStringLiteral("text")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(kPage);
    text.close();
    constexpr int kPrograms = 8;
    int expected = 0;
    for (int round = 0; round < 2; ++round) {
        std::vector<std::unique_ptr<QProcess>> programs;
        for (int i = 0; i < kPrograms; ++i) {
            programs.push_back(std::make_unique<QProcess>());
            programs.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            programs.back()->start(QStringLiteral(RECOVERY_HELPER),
                                   {QStringLiteral("exit"), folder, QStringLiteral("doc"), QStringLiteral("/p/a.hts"),
                                    text.fileName()});
        }
        for (auto& p : programs) {
            ASSERT_TRUE(p->waitForFinished(20000));
            EXPECT_EQ(p->exitCode(), 0) << "a start lost its recovery session";
            EXPECT_TRUE(p->readAll().contains("saved doc"));
        }
        expected += kPrograms;
        EXPECT_EQ(sessionFolders(), expected);
    }
    vlr::RecoveryStore store(folder);
    EXPECT_EQ(store.List().size(), expected);
}

TEST_F(RecoveryStoreTest, HalfMadeSessionFoldersWaitForTheirStartOrAreClearedWhenAbandoned) {
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/.making-session-1-fresh")));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/.making-session-2-stale")));
    const std::filesystem::path stale = (folder + QStringLiteral("/.making-session-2-stale")).toStdString();
    std::filesystem::last_write_time(stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    vlr::RecoveryStore store(folder);
    ASSERT_TRUE(store.BeginSession());
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/.making-session-1-fresh")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.making-session-2-stale")));
    // This session's own folder carries its final name only.
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("session-*")}, QDir::Dirs).size(), 1);
    EXPECT_TRUE(store.EndSession());
}

TEST_F(RecoveryStoreTest, DamagedCopiesAreSkippedWithTheirReason) {
    auto child = runHelper(QStringLiteral("exit"), {{QStringLiteral("a"), QStringLiteral("/p/a.hts"), kPage},
                                                    {QStringLiteral("b"), QStringLiteral("/p/b.hts"), kPage},
                                                    {QStringLiteral("c"), QStringLiteral("/p/c.hts"), kPage},
                                                    {QStringLiteral("d"), QString(), kPage}});
    ASSERT_TRUE(child->waitForFinished(10000));
    const QStringList sessions = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(sessions.size(), 1);
    const QString dir = folder + QLatin1Char('/') + sessions[0] + QLatin1Char('/');
    auto rewrite = [&dir](const QString& name, auto change) {
        QFile f(dir + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        change(bytes);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    rewrite(QStringLiteral("a.vlrrec"), [](QByteArray& b) { b.chop(4); });
    rewrite(QStringLiteral("b.vlrrec"), [](QByteArray& b) { b[b.size() - 6] = '#'; });
    rewrite(QStringLiteral("c.vlrrec"), [](QByteArray& b) { b = "\x7f" "ELF binary junk"; });
    // A garbled marker names no process: its copies are recovered all the same.
    rewrite(QStringLiteral("session.lock"), [](QByteArray& b) { b = "???"; });

    vlr::RecoveryStore store(folder);
    EXPECT_TRUE(store.PreviousSessionCrashed());
    QStringList problems;
    const QList<vlr::RecoveryEntry> entries = store.List(&problems);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].id, QStringLiteral("d"));
    EXPECT_TRUE(entries[0].documentPath.isEmpty());
    ASSERT_EQ(problems.size(), 3);
    problems.sort();
    EXPECT_TRUE(problems[0].contains(QLatin1String("a.vlrrec")) && problems[0].contains(QLatin1String("cut short")))
        << problems[0].toStdString();
    EXPECT_TRUE(problems[1].contains(QLatin1String("b.vlrrec")) && problems[1].contains(QLatin1String("checksum")))
        << problems[1].toStdString();
    EXPECT_TRUE(problems[2].contains(QLatin1String("c.vlrrec")) &&
                problems[2].contains(QLatin1String("not a recovery file")))
        << problems[2].toStdString();

    // A copy damaged after it was listed is refused on loading.
    rewrite(QStringLiteral("d.vlrrec"), [](QByteArray& b) { b.chop(1); });
    QString error;
    EXPECT_FALSE(store.Load(entries[0], &error).has_value());
    EXPECT_TRUE(error.contains(QLatin1String("cut short"))) << error.toStdString();

    EXPECT_TRUE(store.DiscardAll());
    EXPECT_FALSE(store.PreviousSessionCrashed());
    EXPECT_EQ(sessionFolders(), 0);
}

TEST_F(RecoveryStoreTest, SaveRemoveAndWhatIsRefused) {
    vlr::RecoveryStore store(folder);
    QString error;
    EXPECT_FALSE(store.Save(QStringLiteral("1"), QString(), "x", &error));
    EXPECT_TRUE(error.contains(QLatin1String("session"))) << error.toStdString();
    ASSERT_TRUE(store.BeginSession());
    for (const QString& bad : {QString(), QStringLiteral("../x"), QStringLiteral(".hidden"), QStringLiteral("a/b"),
                               QString(65, QLatin1Char('a'))}) {
        EXPECT_FALSE(store.Save(bad, QString(), "x", &error)) << bad.toStdString();
        EXPECT_FALSE(store.Has(bad));
    }
    ASSERT_TRUE(store.Save(QStringLiteral("w1"), QStringLiteral("/p/a.hts"), "first"));
    ASSERT_TRUE(store.Save(QStringLiteral("w1"), QStringLiteral("/p/a.hts"), "second"));
    EXPECT_TRUE(store.Has(QStringLiteral("w1")));
    // One file per document and no temporary file beside it.
    const QStringList sessions = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(sessions.size(), 1);
    QDir dir(folder + QLatin1Char('/') + sessions[0]);
    EXPECT_FALSE(QFileInfo(dir.path()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup));
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("session.lock"), QStringLiteral("w1.vlrrec")}));
    EXPECT_TRUE(store.Remove(QStringLiteral("w1")));
    EXPECT_FALSE(store.Has(QStringLiteral("w1")));
    EXPECT_TRUE(store.Remove(QStringLiteral("w1")));

    // Another store over the same folder sees this running session as alive,
    // and a listed copy cannot be used to delete a live session's file.
    ASSERT_TRUE(store.Save(QStringLiteral("w2"), QString(), "text"));
    vlr::RecoveryStore other(folder);
    EXPECT_FALSE(other.PreviousSessionCrashed());
    vlr::RecoveryEntry forged;
    forged.file = dir.filePath(QStringLiteral("w2.vlrrec"));
    EXPECT_FALSE(other.Discard(forged, &error));
    EXPECT_TRUE(store.Has(QStringLiteral("w2")));
    EXPECT_TRUE(store.EndSession());
    EXPECT_FALSE(QDir(dir).exists());
}

}  // namespace
