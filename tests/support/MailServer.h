#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QSslCertificate>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A real mail server on 127.0.0.1 for the mail tests, stopped when the
// object goes: aiosmtpd (stores every message it accepts) or postfix's
// smtp-sink (refuses, stalls or drops on request).
class MailServer {
public:
    struct Options {
        // STARTTLS offered and required before anything else.
        bool starttls = false;
        // TLS from the first byte.
        bool implicitTls = false;
        // A login the server requires (only over TLS).
        QString user;
        QString password;
        // Mechanisms not offered, e.g. "PLAIN" to leave only LOGIN.
        QStringList excludeAuth;
    };

    ~MailServer();

    static std::unique_ptr<MailServer> aiosmtpd(const Options& options);
    static std::unique_ptr<MailServer> aiosmtpd() { return aiosmtpd(Options()); }
    // smtp-sink with the given options, e.g. {"-f", "RCPT"}; the dialogue is
    // logged (see conversation()).
    static std::unique_ptr<MailServer> smtpSink(const QStringList& options);

    quint16 port() const { return m_port; }
    // The self-signed certificate the TLS servers present.
    QList<QSslCertificate> certificate() const;
    // The stored messages' files, oldest first.
    QStringList messages() const;
    // The commands smtp-sink received, one a line.
    QStringList conversation();

    // A stored message as a mail reader parses it (Python's email package):
    // from/to as [name, address] pairs, subject, date_ok, body (decoded,
    // "\n" line ends), content_type, charset, cte, mime_version,
    // message_id, max_line, bare_lf, defects; plus the envelope's
    // mail_from and rcpt_tos.
    QJsonObject parse(const QString& messageFile) const;

    // A free port on 127.0.0.1 at the time of asking.
    static quint16 freePort();

private:
    MailServer() = default;
    bool makeCertificate();
    bool waitUntilListening(QProcess& p);

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_log;
};
