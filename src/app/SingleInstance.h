#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;

// One Mapquill per user: a second launch with files hands them to the running one over a local
// socket (a Unix socket in the user's private runtime folder, a named pipe on Windows) and ends.
// When no running instance answers in time, the new process opens the files itself.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `serverName` empty: the user's own name (serverNameForUser).
    explicit SingleInstance(QString serverName = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString serverNameForUser();

    // Hands `files` (absolute paths) to a running instance. True only when it confirmed that it
    // took them; false when none runs or it did not answer within `timeoutMs`.
    bool handOff(const QStringList& files, int timeoutMs = 3000);

    // Whether another instance answers on the socket now.
    bool otherIsRunning(int timeoutMs = 500);

    // Becomes the running instance: listens for later launches, unless another already does.
    // A socket left behind by a crashed instance is replaced. True when listening.
    bool listen();

    QString serverName() const { return m_name; }

Q_SIGNALS:
    // Files handed over by a later launch.
    void filesReceived(const QStringList& files);

private:
    void onNewConnection();

    QString m_name;
    std::unique_ptr<QLocalServer> m_server;
};
