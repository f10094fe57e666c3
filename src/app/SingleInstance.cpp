#include "app/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// The message: a tag and a version, then the paths. The answer is one byte.
constexpr quint32 kMagic = 0x4D514F46; // "MQOF"
constexpr quint16 kVersion = 1;
constexpr char kAck = 'k';
// A launch never sends more than this; anything longer is not ours.
constexpr qint64 kMaxMessage = 4 * 1024 * 1024;

} // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_name(serverName.isEmpty() ? serverNameForUser() : std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverNameForUser() {
#ifdef Q_OS_UNIX
    // The runtime folder belongs to the user alone (mode 0700; Qt checks it), so no other user can
    // put a socket of theirs where we look, nor read the paths we send.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return QDir(runtime).filePath(QStringLiteral("mapquill.socket"));
    return QStringLiteral("mapquill-%1").arg(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty())
        user = qEnvironmentVariable("USER");
    return QStringLiteral("mapquill-") + user;
#endif
}

bool SingleInstance::handOff(const QStringList& files, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    {
        QDataStream out(&message, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << kMagic << kVersion << files;
    }
    QByteArray framed;
    {
        QDataStream out(&framed, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << message;
    }
    socket.write(framed);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Only the running instance's answer proves it took the files; a hung one must not swallow them.
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == kAck;
}

bool SingleInstance::otherIsRunning(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    const bool running = socket.waitForConnected(timeoutMs);
    socket.abort();
    return running;
}

bool SingleInstance::listen() {
    if (otherIsRunning())
        return false;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Nobody answered, so a socket file there is a leftover of an instance that crashed.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) {
            m_server.reset();
            return false;
        }
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMaxMessage + 4) {
                socket->abort();
                return;
            }
            QDataStream in(socket);
            in.setVersion(QDataStream::Qt_6_0);
            in.startTransaction();
            QByteArray message;
            in >> message;
            if (!in.commitTransaction())
                return; // the rest is still on its way
            QDataStream body(message);
            body.setVersion(QDataStream::Qt_6_0);
            quint32 magic = 0;
            quint16 version = 0;
            QStringList files;
            body >> magic >> version >> files;
            if (body.status() != QDataStream::Ok || magic != kMagic || version != kVersion) {
                socket->abort();
                return;
            }
            socket->putChar(kAck);
            socket->flush();
            socket->disconnectFromServer();
            QStringList absolute;
            for (const QString& file : std::as_const(files))
                if (QDir::isAbsolutePath(file))
                    absolute << QDir::cleanPath(file);
            if (!absolute.isEmpty())
                Q_EMIT filesReceived(absolute);
        });
    }
}
