#include "platform/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

// A request: this magic and the length of what follows, each 4 bytes big-endian, then the
// paths as a QDataStream list of byte arrays. The magic changed with the length's arrival, so that a
// request of an older start is refused instead of misread.
constexpr quint32 kRequestMagic = 0x51494E32; // "QIN2"
constexpr qint64 kHeaderBytes = 8;
constexpr char kYes = '1';
constexpr char kNo = '0';

// The user's runtime folder when the session has one: it lives in memory, so the lock costs no
// disk sync at every start, and only the user can enter it. Else the temporary folder.
QString PerUserPath(const QString& programName)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QDir folder = !runtime.isEmpty() && QFileInfo(runtime).isDir() ? QDir(runtime) : QDir::temp();
    return folder.filePath(programName + QLatin1Char('-') + QString::number(getuid()));
}

} // namespace

SingleInstance::SingleInstance(const QString& programName, QObject* parent)
    : QObject(parent)
    , m_serverName(PerUserPath(programName))
    , m_lock(m_serverName + QStringLiteral(".lock"))
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
    // The header says how long the request is, so that nothing is parsed before all of it is
    // there: parsing the whole buffer again at every arrival grew with its square.
    if (socket->bytesAvailable() < kHeaderBytes)
        return;
    QDataStream header(socket->peek(kHeaderBytes));
    quint32 magic = 0;
    quint32 length = 0;
    header >> magic >> length;
    if (magic != kRequestMagic || length > kMaxRequestBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < kHeaderBytes + qint64(length))
        return; // wait for the rest
    socket->skip(kHeaderBytes);
    QDataStream in(socket->read(length));
    QByteArrayList paths;
    in >> paths;
    if (in.status() != QDataStream::Ok || socket->state() != QLocalSocket::ConnectedState) {
        socket->abort();
        return;
    }
    const char answer = m_handler && m_handler(paths) ? kYes : kNo;
    socket->write(&answer, 1);
    socket->flush();
    socket->disconnectFromServer();
}

bool SingleInstance::AskFirst(const QByteArrayList& paths, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray body;
    QDataStream bodyOut(&body, QIODevice::WriteOnly);
    bodyOut << paths;
    if (body.size() > qsizetype(kMaxRequestBytes))
        return false;
    QByteArray request;
    QDataStream headerOut(&request, QIODevice::WriteOnly);
    headerOut << kRequestMagic << quint32(body.size());
    socket.write(request + body);
    if (!socket.waitForBytesWritten(timeoutMs) || !socket.waitForReadyRead(timeoutMs))
        return false;
    char answer = kNo;
    return socket.read(&answer, 1) == 1 && answer == kYes;
}
