#include "core/exchange/MailSettings.h"

#include "core/text/UserFile.h"

#include <QFileInfo>

quint16 MailSettings::port() const
{
    return parsePort(smtpPort).value_or(0);
}

std::optional<MailSettings> MailSettings::read(const QString& path, QString* error)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    const TextFile::ReadResult r = UserFile::readLines(path);
    if (!r.ok) {
        if (error)
            *error = r.error;
        return std::nullopt;
    }
    const auto line = [&](int i) { return i < r.lines.size() ? r.lines.at(i) : QString(); };
    MailSettings s;
    s.senderName = line(0);
    s.senderMail = line(1);
    s.smtpServer = line(2);
    s.smtpPort = line(3);
    s.userName = line(4);
    return s;
}

TextFile::WriteResult MailSettings::write(const QString& path) const
{
    QStringList lines { senderName, senderMail, smtpServer, smtpPort };
    if (!userName.isEmpty())
        lines << userName;
    return UserFile::writeLines(path, lines);
}

bool CheckMailAdress(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    return at >= 0 && text.indexOf(QLatin1Char('.'), at) >= 0;
}

std::optional<quint16> parsePort(const QString& text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value < 1 || value > 65535)
        return std::nullopt;
    return quint16(value);
}
