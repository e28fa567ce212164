#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// An e-recipe as a mail any reader shows correctly: header lines, then the
// text as UTF-8 plain text in quoted-printable, every line ended by CR LF.
namespace MailMessage {

struct Mailbox {
    QString name; // may be empty
    QString address;
};

struct Message {
    Mailbox from;
    QList<Mailbox> to;
    QString subject;
    // Any line ends; they go out as CR LF.
    QString text;
    QDateTime date;
    // Without angle brackets; made up when empty.
    QString messageId;
};

// The whole message as it is handed to DATA, before dot-stuffing.
QByteArray build(const Message& m);

// Recipients as typed: spaces go, "," and ":" separate like ";", empty ones
// are dropped. An address picked from the address book keeps its name
// wherever it stands, however the box was edited around it; one typed by
// hand goes without a name.
QList<Mailbox> recipients(const QString& typed, const QList<Mailbox>& picked);

// Printable ASCII without spaces, angle brackets, quotes or control
// characters: an address that can go into a command without changing it.
bool isSafeAddress(const QString& address);

// A header text in RFC 2047 encoded words (UTF-8, base64) where it is not
// plain ASCII, folded so that no line grows long; `phrase` (a display name)
// also quotes ASCII that holds special characters. Line ends in the text
// become spaces: a header never gains a line of its own.
QByteArray encodeHeaderText(const QString& text, bool phrase);
// "Name <address>", or the address alone.
QByteArray formatMailbox(const Mailbox& m);

// A line "." or one that begins with "." gets one more; then the closing
// line with a single ".".
QByteArray dotStuff(const QByteArray& message);

// Every line end (CR LF, lone CR or LF) as CR LF.
QString toCrLf(const QString& text);

} // namespace MailMessage
