#include "core/exchange/SmtpReply.h"

#include <QStringDecoder>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Servers answer in ASCII; anything else is shown as Windows-1252, which
// gives every byte a character.
QString decodeLine(const QByteArray& line)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(line);
    if (!utf8.hasError())
        return text;
    QStringDecoder ansi("windows-1252");
    return ansi.isValid() ? QString(ansi.decode(line)) : QString::fromLatin1(line);
}

} // namespace

void SmtpReplyReader::feed(const QByteArray& bytes)
{
    if (m_failed)
        return;
    m_buffer += bytes;
    qsizetype from = 0;
    for (;;) {
        const qsizetype lf = m_buffer.indexOf('\n', from);
        if (lf < 0)
            break;
        qsizetype end = lf;
        if (end > from && m_buffer[end - 1] == '\r')
            --end;
        takeLine(m_buffer.mid(from, end - from));
        from = lf + 1;
        if (m_failed)
            return;
    }
    m_buffer.remove(0, from);
    // One more for the CR of a line whose LF is still on its way.
    if (m_buffer.size() > MaxLineLength + 1) {
        m_failed = true;
        m_buffer.clear();
    }
}

void SmtpReplyReader::takeLine(const QByteArray& line)
{
    if (line.size() > MaxLineLength) {
        m_failed = true;
        return;
    }
    const bool hasCode = line.size() >= 3 && isDigit(line[0]) && isDigit(line[1]) && isDigit(line[2])
        && (line.size() == 3 || line[3] == ' ' || line[3] == '-');
    m_current.lines << decodeLine(line);
    if (!hasCode) {
        // Not a reply line: hand it out as it is, so the dialogue stops on it.
        m_current.code = 0;
        m_ready << m_current;
        m_current = {};
        m_failed = true;
        return;
    }
    m_current.code = line.left(3).toInt();
    if (line.size() > 3 && line[3] == '-') {
        if (m_current.lines.size() >= MaxLines) {
            m_current.code = 0;
            m_ready << m_current;
            m_current = {};
            m_failed = true;
        }
        return;
    }
    m_ready << m_current;
    m_current = {};
}

std::optional<SmtpReply> SmtpReplyReader::next()
{
    if (m_ready.isEmpty())
        return std::nullopt;
    return m_ready.takeFirst();
}

void SmtpReplyReader::clear()
{
    m_buffer.clear();
    m_current = {};
}
