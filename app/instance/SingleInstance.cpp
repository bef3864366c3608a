#include "app/instance/SingleInstance.h"

#include "platform/PrivateTempDir.h"
#include "platform/System.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vlr::instance {
namespace {
// The request: "open" line, one UTF-8 path per line, an empty line. Paths with
// a line break cannot be sent and are left out. The receipt is "ok\n".
constexpr char kRequest[] = "velora-open 1\n";
constexpr char kReceipt[] = "ok\n";
constexpr qint64 kMaxRequest = 1 << 20;

bool forwardingOff() { return qEnvironmentVariable("VELORA_SINGLE_INSTANCE") == QLatin1String("0"); }
}  // namespace

QString ServerName() {
    const std::string folder = PrivateTempDir();
    if (folder.empty())
        return {};
    // The host is part of the name: a home folder shared between machines
    // must not send one machine's files to a program on the other.
    const QByteArray where = QByteArray::fromStdString(AppDir() + '\n' + UserDataDir() + '\n') +
                             QSysInfo::machineHostName().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(where, QCryptographicHash::Sha1).toHex().left(12);
    const QString path = QString::fromStdString(folder) + QStringLiteral("instance-") + QString::fromLatin1(hash);
    if (QFile::encodeName(path).size() >= qsizetype(sizeof(sockaddr_un::sun_path)))
        return {};
    return path;
}

bool PeerIsThisUser(qintptr socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return socket >= 0 && ::getsockopt(int(socket), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == ::geteuid();
}

QStringList ForwardablePaths(const QStringList& arguments) {
    QStringList paths;
    for (const QString& arg : arguments) {
        if (arg.isEmpty() || arg.startsWith(QLatin1Char('-')))
            return {};
        if (arg.contains(QLatin1Char('\n')) || arg.contains(QLatin1Char('\r')))
            continue;
        paths << QDir::cleanPath(QFileInfo(arg).absoluteFilePath());
    }
    return paths;
}

bool SendToRunning(const QStringList& paths, int timeoutMs) {
    if (forwardingOff())
        return false;
    const QString name = ServerName();
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // The paths go only to a program of this same user.
    if (!PeerIsThisUser(socket.socketDescriptor()))
        return false;
    QByteArray request(kRequest);
    for (const QString& p : paths)
        request += p.toUtf8() + '\n';
    request += '\n';
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray answer;
    while (answer.size() < qsizetype(sizeof kReceipt - 1) && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    return answer.startsWith(kReceipt);
}

InstanceServer::InstanceServer(Opener open, std::function<void()> activate, QObject* parent)
    : QObject(parent), open_(std::move(open)), activate_(std::move(activate)), server_(new QLocalServer(this)) {
    if (forwardingOff())
        return;
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = ServerName();
    if (name.isEmpty())
        return;
    if (!server_->listen(name)) {
        // A socket left by a program that did not end cleanly: the connection
        // is refused, so it is removed and taken over. A program that is
        // only slow to answer keeps its socket.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (!probe.waitForConnected(500) && (probe.error() == QLocalSocket::ConnectionRefusedError ||
                                             probe.error() == QLocalSocket::ServerNotFoundError)) {
            QLocalServer::removeServer(name);
            server_->listen(name);
        }
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::accept);
}

InstanceServer::~InstanceServer() { server_->close(); }

bool InstanceServer::listening() const { return server_->isListening(); }

void InstanceServer::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!PeerIsThisUser(socket->socketDescriptor())) {
            socket->abort();  // another user: nothing of theirs is opened
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        if (socket->bytesAvailable() > 0)
            readFrom(socket);
    }
}

void InstanceServer::readFrom(QLocalSocket* socket) {
    QByteArray buffered = socket->property("request").toByteArray() + socket->readAll();
    if (buffered.size() > kMaxRequest || (buffered.size() >= qsizetype(sizeof kRequest - 1) && !buffered.startsWith(kRequest))) {
        socket->abort();  // not ours, or endless: dropped unread
        return;
    }
    if (!buffered.endsWith("\n\n")) {
        socket->setProperty("request", buffered);
        return;
    }
    socket->setProperty("request", QByteArray());
    socket->write(kReceipt);
    socket->flush();
    const QList<QByteArray> lines = buffered.mid(qsizetype(sizeof kRequest - 1)).split('\n');
    for (const QByteArray& line : lines)
        if (!line.isEmpty())
            open_(QString::fromUtf8(line));
    if (activate_)
        activate_();
}

}  // namespace vlr::instance
