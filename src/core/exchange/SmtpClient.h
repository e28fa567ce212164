#pragma once

#include "core/exchange/MailSettings.h"
#include "core/exchange/SmtpReply.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QSslError>
#include <QString>
#include <QStringList>
#include <QTimer>

class QSslSocket;

// Hands one message to an outgoing mail server. Everything happens on the
// socket's signals, so the caller's window stays usable meanwhile; each stage
// is reported as a status text. One command at a time, each reply checked.
class SmtpClient : public QObject {
    Q_OBJECT
public:
    // Where the dialogue stands; the names are those of the status it waits
    // for ("From": MAIL FROM or a RCPT TO sent, "To": the last RCPT TO sent,
    // "Quit": the message sent, "Disconnect": QUIT sent).
    enum class State {
        Idle,
        Connecting,
        Connected,
        Ehlo,
        Helo,
        StartTls,
        AuthPlain,
        AuthLoginUser,
        AuthLoginPassword,
        AuthLoginDone,
        From,
        To,
        Data,
        Quit,
        Disconnect,
        Refused,
    };
    Q_ENUM(State)

    enum class Result {
        Sent,
        // The server said no (the status shows its reply) or would not do
        // what the settings need; QUIT was sent.
        Refused,
        // The server refused the user name and password.
        LoginRefused,
        // No answer in time, a dropped or refused connection, a failed
        // encryption, an address that cannot be sent.
        Failed,
    };
    Q_ENUM(Result)

    struct Job {
        QString server;
        quint16 port = 25;
        // TLS from the first byte (port 465) rather than STARTTLS.
        bool implicitTls = false;
        // Nothing but EHLO and QUIT goes over an unencrypted connection: a
        // server that offers no STARTTLS gets no mail.
        bool requireTls = false;
        // Empty: no login.
        QString userName;
        QString password;
        QString sender;
        QStringList recipients;
        // The message as built, before dot-stuffing.
        QByteArray message;
    };

    // The port that speaks TLS from the first byte.
    static constexpr quint16 ImplicitTlsPort = 465;
    // The port for mail from a user's program, where the connection turns to
    // STARTTLS before anything else.
    static constexpr quint16 SubmissionPort = 587;
    // Server, port, login name and sender from the settings; the connection
    // speaks TLS from the first byte only on ImplicitTlsPort, and on any other
    // port starts in the clear and turns to STARTTLS when the server offers it.
    // On SubmissionPort, and whenever there is a login, TLS is required; on
    // other ports (25 in a company's network) mail goes in the clear when the
    // server offers nothing else.
    static Job jobFor(const MailSettings& settings);
    static constexpr int DefaultReplyTimeoutMs = 60000;
    // The name given in EHLO: the address literal of the connection's own end.
    static QByteArray heloName(const QHostAddress& local);

    explicit SmtpClient(QObject* parent = nullptr);
    ~SmtpClient() override;

    void setReplyTimeout(int ms) { m_timeoutMs = ms; }
    // The authorities trusted for the server's certificate; empty: the system's.
    void setCaCertificates(const QList<QSslCertificate>& certificates) { m_caCertificates = certificates; }

    // Starts a transfer; a running one is dropped first.
    void send(const Job& job);
    // Closes the connection at once without sending anything more.
    void abort();
    bool isBusy() const { return m_state != State::Idle; }
    State state() const { return m_state; }
    const QString& status() const { return m_status; }
    // Whether the connection is encrypted (for tests and the manual's claims).
    bool wasEncrypted() const { return m_encrypted; }

signals:
    void statusChanged(const QString& text);
    void finished(SmtpClient::Result result);
    // As soon as the server refuses the login, before QUIT is answered: the
    // password is wrong even if the transfer is then dropped.
    void loginRefused();

private:
    void onConnected();
    void onEncrypted();
    void onReadyRead();
    void onSocketError();
    void onSslErrors(const QList<QSslError>& errors);
    void onTimeout();
    void handle(const SmtpReply& reply);
    // By stage: greeting, EHLO and STARTTLS; login; the message itself.
    void handleGreeting(const SmtpReply& reply);
    void handleLogin(const SmtpReply& reply);
    void handleTransfer(const SmtpReply& reply);
    void afterGreeting(const QStringList& extensions);
    void sendCommand(const QByteArray& command);
    void sendRecipient();
    void setStatus(const QString& text);
    // Shows the text, says QUIT and ends once the server answers or closes.
    void refuse(const QString& text, Result result = Result::Refused);
    void finish(Result result);

    QPointer<QSslSocket> m_socket;
    SmtpReplyReader m_reader;
    QTimer m_timer;
    int m_timeoutMs = DefaultReplyTimeoutMs;
    QList<QSslCertificate> m_caCertificates;
    Job m_job;
    State m_state = State::Idle;
    Result m_refusal = Result::Refused;
    QString m_status;
    QString m_sslError;
    int m_recipientIndex = 0;
    bool m_encrypted = false;
    bool m_triedHelo = false;
};
