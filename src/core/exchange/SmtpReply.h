#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One reply of a mail server: "250-..." lines continue it, the line with a
// space (or nothing) after the code ends it.
struct SmtpReply {
    // 0 when the server sent a line that is no reply at all.
    int code = 0;
    QStringList lines;

    // The lines as the server sent them, joined by spaces (for a status line).
    QString text() const { return lines.join(QLatin1Char(' ')); }
    bool operator==(const SmtpReply&) const = default;
};

// Collects replies from the bytes as they arrive, however the network splits
// them: a reply is handed out only once its last line is in.
class SmtpReplyReader {
public:
    // A line longer than this is no reply; reading stops there.
    static constexpr int MaxLineLength = 4096;
    // Nor is a reply of more lines than this.
    static constexpr int MaxLines = 256;

    void feed(const QByteArray& bytes);
    // The next complete reply, in order.
    std::optional<SmtpReply> next();
    // Forgets what is not yet a whole reply (after STARTTLS nothing sent in
    // the clear may be taken as coming through the encrypted channel).
    void clear();
    // The server sent something no reply can be; the reader takes nothing more.
    bool failed() const { return m_failed; }

private:
    void takeLine(const QByteArray& line);

    QByteArray m_buffer;
    SmtpReply m_current;
    QList<SmtpReply> m_ready;
    bool m_failed = false;
};
