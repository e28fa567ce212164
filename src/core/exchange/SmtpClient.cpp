#include "core/exchange/SmtpClient.h"

#include "core/exchange/MailMessage.h"

#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslSocket>

namespace {

bool isLoginState(SmtpClient::State s)
{
    using S = SmtpClient::State;
    return s == S::AuthPlain || s == S::AuthLoginUser || s == S::AuthLoginPassword || s == S::AuthLoginDone;
}

QByteArray base64(const QString& text)
{
    return text.toUtf8().toBase64();
}

} // namespace

SmtpClient::SmtpClient(QObject* parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SmtpClient::onTimeout);
}

SmtpClient::~SmtpClient()
{
    if (m_socket)
        m_socket->abort();
}

void SmtpClient::send(const Job& job)
{
    abort();
    m_job = job;
    m_reader = {};
    m_recipientIndex = 0;
    m_encrypted = false;
    m_triedHelo = false;
    m_sslError.clear();
    m_refusal = Result::Refused;

    // Whatever reaches a command line must not be able to end it early.
    for (const QString& address : QStringList { job.sender } + job.recipients) {
        if (!MailMessage::isSafeAddress(address)) {
            setStatus(QStringLiteral("Ogiltig e-postadress: %1").arg(address));
            finish(Result::Failed);
            return;
        }
    }
    if (job.recipients.isEmpty()) {
        setStatus(QStringLiteral("Du måste ange minst en mottagare"));
        finish(Result::Failed);
        return;
    }

    m_socket = new QSslSocket(this);
    QSslConfiguration conf = m_socket->sslConfiguration();
    if (!m_caCertificates.isEmpty())
        conf.setCaCertificates(m_caCertificates);
    m_socket->setSslConfiguration(conf);
    m_socket->setPeerVerifyName(job.server);
    connect(m_socket, &QSslSocket::connected, this, &SmtpClient::onConnected);
    connect(m_socket, &QSslSocket::encrypted, this, &SmtpClient::onEncrypted);
    connect(m_socket, &QSslSocket::readyRead, this, &SmtpClient::onReadyRead);
    connect(m_socket, &QSslSocket::errorOccurred, this, &SmtpClient::onSocketError);
    connect(m_socket, &QSslSocket::sslErrors, this, &SmtpClient::onSslErrors);
    // A long message takes a while to go out; a server taking it is alive.
    connect(m_socket, &QSslSocket::bytesWritten, this, [this] { m_timer.start(m_timeoutMs); });
    connect(m_socket, &QSslSocket::encryptedBytesWritten, this, [this] { m_timer.start(m_timeoutMs); });

    m_state = State::Connecting;
    m_timer.start(m_timeoutMs);
    if (job.implicitTls)
        m_socket->connectToHostEncrypted(job.server, job.port);
    else
        m_socket->connectToHost(job.server, job.port);
}

void SmtpClient::abort()
{
    m_timer.stop();
    m_state = State::Idle;
    if (m_socket) {
        QSslSocket* s = m_socket;
        m_socket = nullptr;
        s->disconnect(this);
        s->abort();
        s->deleteLater();
    }
}

void SmtpClient::onConnected()
{
    // With TLS from the first byte the greeting comes after the handshake.
    if (m_state == State::Connecting && !m_job.implicitTls)
        m_state = State::Connected;
}

void SmtpClient::onEncrypted()
{
    m_encrypted = true;
    if (m_state == State::Connecting) {
        m_state = State::Connected;
    } else if (m_state == State::StartTls) {
        // What the server offered in the clear no longer counts.
        m_triedHelo = false;
        m_state = State::Ehlo;
        sendCommand("EHLO " + heloName(m_socket->localAddress()));
    }
}

void SmtpClient::onReadyRead()
{
    if (!m_socket)
        return;
    m_reader.feed(m_socket->readAll());
    while (m_socket && m_state != State::Idle) {
        std::optional<SmtpReply> reply = m_reader.next();
        if (!reply)
            break;
        handle(*reply);
    }
    if (!m_socket || m_state == State::Idle || !m_reader.failed())
        return;
    // Nothing more can be read, not even the answer to QUIT.
    if (m_state != State::Refused)
        setStatus(QStringLiteral("Servern svarade med något som inte är ett SMTP-svar."));
    finish(m_state == State::Refused ? m_refusal : Result::Failed);
}

void SmtpClient::sendCommand(const QByteArray& command)
{
    m_timer.start(m_timeoutMs);
    m_socket->write(command + "\r\n");
}

void SmtpClient::setStatus(const QString& text)
{
    m_status = text;
    emit statusChanged(text);
}

void SmtpClient::handle(const SmtpReply& reply)
{
    m_timer.stop();
    switch (m_state) {
    case State::Connected:
    case State::Ehlo:
    case State::Helo:
    case State::StartTls:
        return handleGreeting(reply);
    case State::AuthPlain:
    case State::AuthLoginUser:
    case State::AuthLoginPassword:
    case State::AuthLoginDone:
        return handleLogin(reply);
    case State::From:
    case State::To:
    case State::Data:
    case State::Quit:
    case State::Disconnect:
        return handleTransfer(reply);
    case State::Refused:
        // The answer to QUIT: the refusal stays in the status line.
        return finish(m_refusal);
    case State::Connecting:
    case State::Idle:
        return;
    }
}

void SmtpClient::handleGreeting(const SmtpReply& reply)
{
    const int code = reply.code;
    switch (m_state) {
    case State::Connected:
        if (code != 220)
            return refuse(reply.text());
        setStatus(QStringLiteral("Ansluten"));
        m_state = State::Ehlo;
        sendCommand("EHLO " + heloName(m_socket->localAddress()));
        return;
    case State::Ehlo:
        if (code == 250)
            return afterGreeting(reply.lines.mid(1));
        // An old server that knows only HELO; a busy or closing one is a refusal.
        if (code >= 500 && code < 600 && !m_triedHelo) {
            m_triedHelo = true;
            m_state = State::Helo;
            sendCommand("HELO " + heloName(m_socket->localAddress()));
            return;
        }
        return refuse(reply.text());
    case State::Helo:
        if (code != 250)
            return refuse(reply.text());
        return afterGreeting({});
    case State::StartTls:
        if (m_socket->mode() != QSslSocket::UnencryptedMode)
            return;
        if (code != 220)
            return refuse(reply.text());
        // Anything the server sent after its 220 came in the clear and must
        // not be read as if it came through the encrypted channel.
        m_reader.clear();
        while (m_reader.next()) { }
        m_timer.start(m_timeoutMs);
        m_socket->startClientEncryption();
        return;
    default:
        return;
    }
}

void SmtpClient::handleLogin(const SmtpReply& reply)
{
    const int code = reply.code;
    switch (m_state) {
    case State::AuthPlain:
    case State::AuthLoginDone:
        if (code != 235)
            return refuse(reply.text(), Result::LoginRefused);
        m_state = State::From;
        sendCommand("MAIL FROM:<" + m_job.sender.toLatin1() + '>');
        return;
    case State::AuthLoginUser:
        if (code != 334)
            return refuse(reply.text(), Result::LoginRefused);
        m_state = State::AuthLoginPassword;
        sendCommand(base64(m_job.userName));
        return;
    case State::AuthLoginPassword:
        if (code != 334)
            return refuse(reply.text(), Result::LoginRefused);
        m_state = State::AuthLoginDone;
        sendCommand(base64(m_job.password));
        return;
    default:
        return;
    }
}

void SmtpClient::handleTransfer(const SmtpReply& reply)
{
    const int code = reply.code;
    switch (m_state) {
    case State::From:
        // MAIL FROM's answer releases the first RCPT TO, each further one the next.
        if (code != 250 && !(code == 251 && m_recipientIndex > 0))
            return refuse(reply.text());
        setStatus(QStringLiteral("Mottagare godkänd"));
        sendRecipient();
        return;
    case State::To:
        if (code != 250 && code != 251)
            return refuse(reply.text());
        m_state = State::Data;
        sendCommand("DATA");
        return;
    case State::Data:
        if (code != 354)
            return refuse(reply.text());
        setStatus(QStringLiteral("Skickar e-receptet"));
        m_state = State::Quit;
        m_timer.start(m_timeoutMs);
        m_socket->write(MailMessage::dotStuff(m_job.message));
        return;
    case State::Quit:
        // Only the answer to the final "." says the message was taken.
        if (code != 250)
            return refuse(reply.text());
        setStatus(QStringLiteral("Avslutar förbindelsen"));
        m_state = State::Disconnect;
        sendCommand("QUIT");
        return;
    case State::Disconnect:
        return finish(Result::Sent);
    default:
        return;
    }
}

void SmtpClient::afterGreeting(const QStringList& extensions)
{
    bool startTls = false;
    QStringList mechanisms;
    for (const QString& line : extensions) {
        const QString upper = line.mid(4).trimmed().toUpper();
        if (upper == QLatin1String("STARTTLS"))
            startTls = true;
        else if (upper.startsWith(QLatin1String("AUTH ")) || upper.startsWith(QLatin1String("AUTH=")))
            mechanisms << upper.mid(5).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    if (!m_encrypted && startTls) {
        m_state = State::StartTls;
        sendCommand("STARTTLS");
        return;
    }
    // A password never goes over a connection anyone on the way can read.
    if (!m_encrypted && !m_job.userName.isEmpty())
        return refuse(QStringLiteral("Servern erbjuder ingen krypterad förbindelse, så du kan inte logga in. "
                                     "Kontrollera server och port."));
    if (!m_encrypted && m_job.requireTls)
        return refuse(
            QStringLiteral("Servern erbjuder ingen krypterad förbindelse, så e-receptet skickas inte. "
                           "Kontrollera server och port."));
    if (!m_job.userName.isEmpty()) {
        if (mechanisms.contains(QLatin1String("PLAIN"))) {
            m_state = State::AuthPlain;
            QByteArray plain = '\0' + m_job.userName.toUtf8() + '\0' + m_job.password.toUtf8();
            sendCommand("AUTH PLAIN " + plain.toBase64());
            return;
        }
        if (mechanisms.contains(QLatin1String("LOGIN"))) {
            m_state = State::AuthLoginUser;
            sendCommand("AUTH LOGIN");
            return;
        }
        return refuse(QStringLiteral("Servern erbjuder ingen inloggning som programmet kan använda."));
    }
    m_state = State::From;
    sendCommand("MAIL FROM:<" + m_job.sender.toLatin1() + '>');
}

void SmtpClient::sendRecipient()
{
    const QByteArray address = m_job.recipients.at(m_recipientIndex).toLatin1();
    ++m_recipientIndex;
    m_state = m_recipientIndex == m_job.recipients.size() ? State::To : State::From;
    sendCommand("RCPT TO:<" + address + '>');
}

void SmtpClient::refuse(const QString& text, Result result)
{
    setStatus(text);
    m_refusal = result;
    m_state = State::Refused;
    sendCommand("QUIT");
    if (result == Result::LoginRefused)
        emit loginRefused();
}

void SmtpClient::onTimeout()
{
    if (m_state == State::Idle)
        return;
    if (m_state == State::Disconnect)
        return finish(Result::Sent);
    if (m_state == State::Refused)
        return finish(m_refusal);
    const int seconds = (m_timeoutMs + 999) / 1000;
    setStatus(seconds == 1 ? QStringLiteral("Servern svarade inte inom en sekund.")
                           : QStringLiteral("Servern svarade inte inom %1 sekunder.").arg(seconds));
    finish(Result::Failed);
}

void SmtpClient::onSslErrors(const QList<QSslError>& errors)
{
    if (errors.isEmpty())
        return;
    switch (errors.first().error()) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        m_sslError = QStringLiteral("dess certifikat är inte utfärdat av någon betrodd utfärdare.");
        break;
    case QSslError::HostNameMismatch:
        m_sslError = QStringLiteral("dess certifikat gäller inte för %1.").arg(m_job.server);
        break;
    case QSslError::CertificateExpired:
        m_sslError = QStringLiteral("dess certifikat har gått ut.");
        break;
    case QSslError::CertificateNotYetValid:
        m_sslError = QStringLiteral("dess certifikat gäller inte ännu.");
        break;
    default:
        m_sslError = errors.first().errorString();
        break;
    }
}

void SmtpClient::onSocketError()
{
    if (!m_socket || m_state == State::Idle)
        return;
    // A reply that came with the closing still counts.
    if (m_socket->bytesAvailable() > 0) {
        onReadyRead();
        if (!m_socket || m_state == State::Idle)
            return;
    }
    if (m_state == State::Disconnect)
        return finish(Result::Sent);
    if (m_state == State::Refused)
        return finish(m_refusal);
    const QAbstractSocket::SocketError error = m_socket->error();
    QString text;
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        text = QStringLiteral("Servern %1 hittades inte.").arg(m_job.server);
        break;
    case QAbstractSocket::ConnectionRefusedError:
        text = QStringLiteral("Servern %1 tar inte emot anslutningar på port %2.")
                   .arg(m_job.server)
                   .arg(m_job.port);
        break;
    case QAbstractSocket::RemoteHostClosedError:
        text = QStringLiteral("Servern stängde förbindelsen innan e-receptet var skickat.");
        break;
    case QAbstractSocket::SslHandshakeFailedError:
        text = QStringLiteral("Ingen säker förbindelse med servern: %1")
                   .arg(m_sslError.isEmpty() ? m_socket->errorString() : m_sslError);
        break;
    case QAbstractSocket::NetworkError:
        text = QStringLiteral("Nätverket nådde inte servern %1.").arg(m_job.server);
        break;
    default:
        text = QStringLiteral("Förbindelsen med servern bröts: %1").arg(m_socket->errorString());
        break;
    }
    setStatus(text);
    // Some servers hang up on a wrong password instead of answering.
    if (isLoginState(m_state)) {
        emit loginRefused();
        return finish(Result::LoginRefused);
    }
    finish(Result::Failed);
}

void SmtpClient::finish(Result result)
{
    const bool sent = result == Result::Sent;
    abort();
    if (sent)
        setStatus(QStringLiteral("E-Recept skickat"));
    emit finished(result);
}

SmtpClient::Job SmtpClient::jobFor(const MailSettings& settings)
{
    Job job;
    job.server = settings.smtpServer;
    job.port = settings.port();
    job.implicitTls = job.port == ImplicitTlsPort;
    job.userName = settings.userName;
    job.requireTls = job.implicitTls || job.port == SubmissionPort || !job.userName.isEmpty();
    job.sender = settings.senderMail;
    return job;
}

QByteArray SmtpClient::heloName(const QHostAddress& local)
{
    // An address literal is always a valid name for this host; a link's
    // scope ("%eth0") has no place in one.
    QHostAddress bare = local;
    bare.setScopeId(QString());
    if (bare.protocol() == QAbstractSocket::IPv6Protocol) {
        bool isV4 = false;
        const quint32 v4 = bare.toIPv4Address(&isV4);
        if (isV4)
            return '[' + QHostAddress(v4).toString().toLatin1() + ']';
        return "[IPv6:" + bare.toString().toLatin1() + ']';
    }
    if (bare.protocol() == QAbstractSocket::IPv4Protocol)
        return '[' + bare.toString().toLatin1() + ']';
    return "[127.0.0.1]";
}
