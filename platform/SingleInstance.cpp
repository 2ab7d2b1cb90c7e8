#include "platform/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr quint32 kRequestMagic = 0x51494E53; // "QINS"
constexpr char kYes = '1';
constexpr char kNo = '0';

QString PerUserName(const QString& programName)
{
    return programName + QLatin1Char('-') + QString::number(getuid());
}

} // namespace

SingleInstance::SingleInstance(const QString& programName, QObject* parent)
    : QObject(parent)
    , m_serverName(PerUserName(programName))
    , m_lock(QDir::temp().filePath(PerUserName(programName) + QStringLiteral(".lock")))
{
    // A lock is stale only when its process is gone, which QLockFile checks itself.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::TryLock()
{
    return m_lock.tryLock(0);
}

bool SingleInstance::Listen(RequestHandler handler)
{
    m_handler = std::move(handler);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file of that name is left over from a crash.
    QLocalServer::removeServer(m_serverName);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Serve(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return m_server->listen(m_serverName);
}

void SingleInstance::Serve(QLocalSocket* socket)
{
    QDataStream in(socket);
    in.startTransaction();
    quint32 magic = 0;
    QStringList paths;
    in >> magic >> paths;
    if (!in.commitTransaction())
        return; // wait for the rest
    if (magic != kRequestMagic || socket->state() != QLocalSocket::ConnectedState) {
        socket->abort();
        return;
    }
    const char answer = m_handler && m_handler(paths) ? kYes : kNo;
    socket->write(&answer, 1);
    socket->flush();
    socket->disconnectFromServer();
}

bool SingleInstance::AskFirst(const QStringList& paths, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out << kRequestMagic << paths;
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs) || !socket.waitForReadyRead(timeoutMs))
        return false;
    char answer = kNo;
    return socket.read(&answer, 1) == 1 && answer == kYes;
}
