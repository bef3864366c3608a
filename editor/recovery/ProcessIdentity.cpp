#include "editor/recovery/ProcessIdentity.h"

#include <QFile>
#include <QList>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace vlr {
namespace {

QByteArray readSmallFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096);
}

QByteArray currentBootId() {
    return readSmallFile(QStringLiteral("/proc/sys/kernel/random/boot_id")).trimmed();
}

// The state letter and the start time of a process from /proc/<pid>/stat. The
// command name in parentheses may hold spaces, so fields count from the last ')'.
bool readStat(qint64 pid, char& state, QByteArray& startTicks) {
    QByteArray stat = readSmallFile(QStringLiteral("/proc/%1/stat").arg(pid));
    qsizetype close = stat.lastIndexOf(')');
    if (stat.isEmpty() || close < 0)
        return false;
    QList<QByteArray> fields = stat.mid(close + 1).simplified().split(' ');
    // fields[0] is the state (field 3 of the file), fields[19] the start time (field 22).
    if (fields.size() < 20 || fields[0].isEmpty())
        return false;
    state = fields[0][0];
    startTicks = fields[19];
    return true;
}

}  // namespace

QByteArray ProcessIdentity::Serialize() const {
    return "pid " + QByteArray::number(pid) + "\nstart " + startTicks + "\nboot " + bootId + "\n";
}

bool ProcessIdentity::Parse(const QByteArray& text, ProcessIdentity& out) {
    ProcessIdentity id;
    bool havePid = false;
    for (const QByteArray& line : text.split('\n')) {
        qsizetype space = line.indexOf(' ');
        QByteArray key = space < 0 ? line : line.left(space);
        QByteArray value = space < 0 ? QByteArray() : line.mid(space + 1).trimmed();
        if (key == "pid") {
            id.pid = value.toLongLong(&havePid);
            havePid = havePid && id.pid > 0;
        } else if (key == "start") {
            id.startTicks = value;
        } else if (key == "boot") {
            id.bootId = value;
        }
    }
    if (!havePid)
        return false;
    out = id;
    return true;
}

ProcessIdentity CurrentProcessIdentity() {
    ProcessIdentity id;
    id.pid = ::getpid();
    char state = 0;
    readStat(id.pid, state, id.startTicks);
    id.bootId = currentBootId();
    return id;
}

bool IsProcessRunning(const ProcessIdentity& identity) {
    if (identity.pid <= 0)
        return false;
    if (!identity.bootId.isEmpty()) {
        QByteArray boot = currentBootId();
        if (!boot.isEmpty() && boot != identity.bootId)
            return false;  // recorded before the last restart
    }
    char state = 0;
    QByteArray startTicks;
    if (readStat(identity.pid, state, startTicks)) {
        if (state == 'Z' || state == 'X')
            return false;
        return identity.startTicks.isEmpty() || startTicks == identity.startTicks;
    }
    // Without /proc, ask the kernel whether the id is in use at all.
    if (::kill(static_cast<pid_t>(identity.pid), 0) == 0)
        return true;
    return errno == EPERM;
}

}  // namespace vlr
