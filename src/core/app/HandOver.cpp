#include "core/app/HandOver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

const QByteArray Taken = QByteArrayLiteral("OK\n");
// A copy that sends nothing more is let go after this long.
constexpr int SilenceMs = 10000;

} // namespace

namespace HandOver {

QString address(const QString& programFolder)
{
    const QByteArray folder = QDir::cleanPath(QDir(programFolder).absolutePath()).toUtf8();
    const QString key
        = QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16));
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return QDir(runtime).filePath(QStringLiteral("krox-gastrid-") + key);
}

bool give(const QString& address, const CommandLine::Request& request, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(address);
    if (!socket.waitForConnected(std::min(timeoutMs, 2000)))
        return false;
    socket.write(CommandLine::handOverMessage(request));
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray reply;
    while (reply.size() < Taken.size() && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    return reply == Taken;
}

} // namespace HandOver

HandOverListener::HandOverListener(QObject* parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection())
            take(s);
    });
}

HandOverListener::~HandOverListener() = default;

bool HandOverListener::listen(const QString& address)
{
    if (m_server->listen(address))
        return true;
    // Left by a copy that ended without closing it; a copy that still
    // listens there answers, and then the address stays its own.
    QLocalSocket probe;
    probe.connectToServer(address);
    if (probe.waitForConnected(1000))
        return false;
    QLocalServer::removeServer(address);
    return m_server->listen(address);
}

void HandOverListener::take(QLocalSocket* socket)
{
    auto* timer = new QTimer(socket);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, socket, &QLocalSocket::abort);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    timer->start(SilenceMs);
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
        *buffer += socket->readAll();
        if (buffer->size() > MessageLimit) {
            socket->abort();
            return;
        }
        if (!buffer->endsWith("\n\n"))
            return;
        const std::optional<CommandLine::Request> request = CommandLine::takeOverMessage(*buffer);
        buffer->clear();
        if (!request) {
            socket->abort();
            return;
        }
        // A copy that gave up waiting opens the files itself; they are not
        // opened twice.
        if (socket->state() != QLocalSocket::ConnectedState)
            return;
        socket->write(Taken);
        socket->flush();
        socket->disconnectFromServer();
        emit filesGiven(*request);
    });
}
