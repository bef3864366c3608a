// Who a process is, in a form that survives the process: its id, its start
// time and the boot it ran in, so that a recorded process can later be told
// apart from a new one that happens to get the same id.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace vlr {

struct ProcessIdentity {
    qint64 pid = 0;
    QByteArray startTicks;  // start time since boot in clock ticks; empty when unknown
    QByteArray bootId;      // the kernel's id of the running boot; empty when unknown

    // "pid 123\nstart 456\nboot abc\n"
    [[nodiscard]] QByteArray Serialize() const;
    // False for text that names no process id.
    [[nodiscard]] static bool Parse(const QByteArray& text, ProcessIdentity& out);
};

[[nodiscard]] ProcessIdentity CurrentProcessIdentity();

// True while the recorded process still runs: same boot, the id in use by a
// process that is not a zombie and that started at the recorded time.
[[nodiscard]] bool IsProcessRunning(const ProcessIdentity& identity);

}  // namespace vlr
