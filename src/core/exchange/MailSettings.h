#pragma once

#include "core/text/TextFile.h"

#include <QString>

#include <optional>

// The sender and the outgoing mail server, kept in er.txt in the program
// folder (a file the user may edit by hand, see UserFile): name, address,
// server and port, one a line; the login name follows
// as a fifth line only when there is one, so older files still read and
// older copies of the program still read ours.
struct MailSettings {
    QString senderName;
    QString senderMail;
    QString smtpServer;
    // As typed; see port().
    QString smtpPort;
    // Empty: the server takes mail without a login.
    QString userName;

    // The port as a number, 0 when the text is not one of 1-65535.
    quint16 port() const;
    bool operator==(const MailSettings&) const = default;

    // Read when the file exists; lines it lacks read as empty. Nothing when
    // there is no such file or it cannot be read (`error` says which).
    static std::optional<MailSettings> read(const QString& path, QString* error = nullptr);
    TextFile::WriteResult write(const QString& path) const;
};

// The program's one test of an e-mail address: an "@" with a "." somewhere
// after it.
bool CheckMailAdress(const QString& text);

// A port as the settings window accepts it: digits only, 1-65535.
std::optional<quint16> parsePort(const QString& text);
