// One running program per user and program folder: a second start with files
// to open hands them to the running program over a local socket and exits.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace vlr::instance {

// The socket's full path: in the user's private folder (PrivateTempDir(),
// mode 0700, so no other user can listen under it or reach it), named for this
// program folder, user folder and host, so a test's temporary program folder
// never reaches a developer's running program. "" when there is no private
// folder (the program then runs alone).
QString ServerName();

// True when the other end of the connected local socket runs as this user.
// Both ends check it: no paths are sent to, or taken from, another user.
bool PeerIsThisUser(qintptr socket);

// The arguments worth forwarding: all of them when every one is a file or
// folder to open, none when there is an option ("-..." such as --build) or
// nothing to open. Relative paths become absolute against the current folder.
QStringList ForwardablePaths(const QStringList& arguments);

// Sends the paths to a running program and waits for its receipt; with no
// paths the running program only comes to the front. False when no program
// of this user listens (or it does not answer in time): the caller starts
// normally. VELORA_SINGLE_INSTANCE=0 turns forwarding off.
bool SendToRunning(const QStringList& paths, int timeoutMs = 3000);

// The running program's end: listens under ServerName() and calls `open`
// once for each path received, in order, then `activate` once. Both are the
// caller's own callbacks, given once at construction (the program's start-up
// hands in the project unit's opener and the window's raise).
class InstanceServer : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<void(const QString&)>;
    InstanceServer(Opener open, std::function<void()> activate, QObject* parent = nullptr);
    ~InstanceServer() override;
    // False when the name could not be taken; the program then runs alone.
    bool listening() const;

private:
    void accept();
    void readFrom(QLocalSocket* socket);

    Opener open_;
    std::function<void()> activate_;
    QLocalServer* server_;
};

}  // namespace vlr::instance
