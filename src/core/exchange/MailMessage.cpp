#include "core/exchange/MailMessage.h"

#include "core/exchange/QuotedPrintable.h"

#include <QHash>
#include <QUuid>

namespace MailMessage {

namespace {

const QByteArray CrLf = "\r\n";
// Folding keeps header lines near this length; readers cope with more.
constexpr int FoldAt = 76;
// UTF-8 bytes per encoded word: 48 base64 characters, 60 in all, so a
// header name and a word fit on one line.
constexpr int WordBytes = 36;

bool isPlainAscii(const QString& s)
{
    for (const QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

// Letters, digits and the few signs a display name may carry unquoted.
bool isAtomText(const QString& s)
{
    static const QString specials = QStringLiteral("!#$%&'*+-/=?^_`{|}~ ");
    for (const QChar c : s) {
        const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || specials.contains(c);
        if (!ok)
            return false;
    }
    return true;
}

QByteArray encodedWords(const QString& text)
{
    QList<QByteArray> words;
    QByteArray chunk;
    // Whole characters only: a word never ends inside one.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray bytes = text.mid(i, len).toUtf8();
        if (chunk.size() + bytes.size() > WordBytes) {
            words << chunk;
            chunk.clear();
        }
        chunk += bytes;
        i += len;
    }
    if (!chunk.isEmpty() || words.isEmpty())
        words << chunk;
    QByteArray out;
    for (const QByteArray& w : words) {
        if (!out.isEmpty())
            out += CrLf + ' ';
        out += "=?UTF-8?B?" + w.toBase64() + "?=";
    }
    return out;
}

// Breaks a long ASCII text at spaces; the space begins the next line.
QByteArray foldAscii(const QByteArray& text)
{
    QByteArray out;
    qsizetype lineStart = 0;
    qsizetype lastSpace = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && i > lineStart)
            lastSpace = i;
        if (i - lineStart >= FoldAt && lastSpace > lineStart) {
            out += text.mid(lineStart, lastSpace - lineStart) + CrLf;
            lineStart = lastSpace;
            lastSpace = -1;
        }
    }
    out += text.mid(lineStart);
    return out;
}

QString domainOf(const QString& address)
{
    const QString domain = address.mid(address.lastIndexOf(QLatin1Char('@')) + 1);
    if (address.contains(QLatin1Char('@')) && !domain.isEmpty() && isSafeAddress(domain))
        return domain;
    return QStringLiteral("gastrid.invalid");
}

} // namespace

QString toCrLf(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

bool isSafeAddress(const QString& address)
{
    static const QString forbidden = QStringLiteral("<>()[],;:\\\"");
    if (address.isEmpty())
        return false;
    for (const QChar c : address)
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f || forbidden.contains(c))
            return false;
    return true;
}

QList<Mailbox> recipients(const QString& typed, const QList<Mailbox>& picked)
{
    const auto tidy = [](const QString& text) {
        QString t;
        for (const QChar c : text) {
            if (c.isSpace())
                continue;
            t += (c == QLatin1Char(',') || c == QLatin1Char(':')) ? QLatin1Char(';') : c;
        }
        return t;
    };
    // Letter case of an address does not matter; the first pick names it.
    QHash<QString, QString> names;
    for (const Mailbox& p : picked) {
        const QString key = tidy(p.address).toLower();
        if (!names.contains(key))
            names.insert(key, p.name);
    }
    QList<Mailbox> out;
    for (const QString& address : tidy(typed).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out.append({ names.value(address.toLower()), address });
    return out;
}

QByteArray encodeHeaderText(const QString& text, bool phrase)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (!isPlainAscii(t))
        return encodedWords(t);
    const QString clean = t;
    if (phrase && !isAtomText(t)) {
        QString quoted = t;
        quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
        t = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    // A word too long to fold would make a line no server takes.
    for (const QString& word : t.split(QLatin1Char(' ')))
        if (word.size() > 900)
            return encodedWords(clean);
    return foldAscii(t.toLatin1());
}

QByteArray formatMailbox(const Mailbox& m)
{
    if (m.name.trimmed().isEmpty())
        return m.address.toUtf8();
    const QByteArray name = encodeHeaderText(m.name.trimmed(), true);
    const qsizetype lastLine = name.size() - (name.lastIndexOf('\n') + 1);
    // The address goes on a line of its own rather than past the margin.
    const QByteArray gap = lastLine + m.address.size() + 3 > 60 ? CrLf + ' ' : QByteArray(" ");
    return name + gap + '<' + m.address.toUtf8() + '>';
}

QByteArray build(const Message& m)
{
    QByteArray out;
    const QDateTime date = m.date.isValid() ? m.date : QDateTime::currentDateTime();
    out += "Date: " + date.toString(Qt::RFC2822Date).toLatin1() + CrLf;
    const QString id = m.messageId.isEmpty()
        ? QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('@') + domainOf(m.from.address)
        : m.messageId;
    out += "Message-ID: <" + id.toLatin1() + '>' + CrLf;
    out += "From: " + formatMailbox(m.from) + CrLf;
    QByteArray to;
    for (const Mailbox& r : m.to) {
        if (!to.isEmpty())
            to += "," + CrLf + ' ';
        to += formatMailbox(r);
    }
    out += "To: " + to + CrLf;
    out += "Subject: " + encodeHeaderText(m.subject, false) + CrLf;
    out += "MIME-Version: 1.0" + CrLf;
    out += "Content-Type: text/plain; charset=UTF-8" + CrLf;
    out += "Content-Transfer-Encoding: quoted-printable" + CrLf;
    out += CrLf;
    QByteArray body = QuotedPrintable::encode(toCrLf(m.text).toUtf8());
    if (!body.isEmpty() && !body.endsWith(CrLf))
        body += CrLf;
    out += body;
    return out;
}

QByteArray dotStuff(const QByteArray& message)
{
    QByteArray out;
    out.reserve(message.size() + message.size() / 64 + 8);
    bool lineStart = true;
    for (qsizetype i = 0; i < message.size(); ++i) {
        const char c = message[i];
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = c == '\n';
    }
    if (!out.isEmpty() && !out.endsWith(CrLf))
        out += CrLf;
    out += "." + CrLf;
    return out;
}

} // namespace MailMessage
