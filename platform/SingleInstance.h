#pragma once
// One running instance per user and program: a lock file and a local server, both named after
// the program (the executable's base name) and the user. The first instance holds the lock and
// answers the later ones; a later one asks the first to come forward, hands it its file paths
// and exits. A lock left behind by a process that no longer runs does not block the next start.
// Both live in the user's runtime folder ($XDG_RUNTIME_DIR), or in the temporary folder ($TMPDIR,
// else /tmp) when there is none; only the user can reach the server.
// GUI thread only (the server answers in the event loop).
#include <QLockFile>
#include <QObject>
#include <QByteArrayList>

#include <functional>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first; it keeps the lock while this object lives.
    bool TryLock();

    // Paths travel as the bytes the file system knows them by, which need not be UTF-8.
    // For the first instance: answers each later instance. The handler gets the paths the
    // later one was started with and returns whether its window could be brought forward; a
    // request whose sender has already given up is dropped unanswered.
    using RequestHandler = std::function<bool(const QByteArrayList& paths)>;
    bool Listen(RequestHandler handler);

    // The largest request a later instance may send (its paths as sent): far above any list of
    // files a desktop hands over, far below what would strain the first instance.
    static constexpr quint32 kMaxRequestBytes = 16 * 1024 * 1024;

    // For a later instance: true when the first answered within the time that it came forward;
    // false at once when its paths make a request above kMaxRequestBytes.
    bool AskFirst(const QByteArrayList& paths, int timeoutMs = 3000);

private:
    void Serve(QLocalSocket* socket);

    const QString m_serverName;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
    RequestHandler m_handler;
};
