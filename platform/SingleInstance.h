#pragma once
// One running instance per user and program: a lock file and a local server, both named after
// the program (the executable's base name) and the user. The first instance holds the lock and
// answers the later ones; a later one asks the first to come forward, hands it its file paths
// and exits. A lock left behind by a process that no longer runs does not block the next start.
// Files live in the temporary folder ($TMPDIR, else /tmp); only the user can reach the server.
// GUI thread only (the server answers in the event loop).
#include <QLockFile>
#include <QObject>
#include <QStringList>

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

    // For the first instance: answers each later instance. The handler gets the paths the
    // later one was started with and returns whether its window could be brought forward; a
    // request whose sender has already given up is dropped unanswered.
    using RequestHandler = std::function<bool(const QStringList& paths)>;
    bool Listen(RequestHandler handler);

    // For a later instance: true when the first answered within the time that it came forward.
    bool AskFirst(const QStringList& paths, int timeoutMs = 3000);

    QString ServerName() const { return m_serverName; }

private:
    void Serve(QLocalSocket* socket);

    const QString m_serverName;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
    RequestHandler m_handler;
};
