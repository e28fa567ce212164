#include "core/text/TextFile.h"

#include "core/text/AtomicFile.h"
#include "core/text/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

#include <sys/stat.h>
#include <unistd.h>

namespace TextFile {

namespace {

constexpr const char* kCodec = "windows-1252";

// What 0x80-0x9F stand for. The five bytes Windows-1252 leaves undefined map to
// the C1 controls of the same number, as Qt's own converter does, so any byte
// read from a file goes back out unchanged.
constexpr char16_t kHigh[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

// The byte for `c`, or -1 when Windows-1252 has none.
int byteFor(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c)
            return 0x80 + i;
    }
    return -1;
}

QString fileName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString decodeAs(const QByteArray& bytes, Decoding how)
{
    return how == Decoding::ByContent ? TextDecoding::decode(bytes) : fromWindows1252(bytes);
}

QString decode(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodec);
    if (decoder.isValid())
        return decoder.decode(bytes);
    // Qt built without ICU has no Windows-1252; the table covers it.
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return text;
}

// Nothing is ever replaced: a text the table accepts must also come through
// Qt's converter without error and one byte per character.
std::optional<QByteArray> encode(const QString& text)
{
    QStringEncoder encoder(kCodec);
    if (encoder.isValid()) {
        QByteArray bytes = encoder.encode(text);
        if (encoder.hasError() || bytes.size() != text.size())
            return std::nullopt;
        return bytes;
    }
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (QChar ch : text) {
        const int b = byteFor(ch.unicode());
        if (b < 0)
            return std::nullopt;
        *out++ = char(b);
    }
    return bytes;
}

// Read back by content, Windows-1252 bytes that are also valid UTF-8 (only
// texts like "Ã¶") would come back as other text; such a file is written as
// UTF-8 with a byte order mark instead.
QByteArray forReadBack(const QString& text, QByteArray bytes, Decoding readBack)
{
    if (readBack == Decoding::Windows1252 || TextDecoding::decode(bytes) == text)
        return bytes;
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

WriteResult writeBytes(const QString& path, const QString& text, Decoding readBack)
{
    WriteResult result;
    result.unencodable = unencodable(text);
    if (!result.unencodable.isEmpty()) {
        QStringList shown;
        for (char32_t c : result.unencodable.toUcs4())
            shown << QStringView(QChar::fromUcs4(c)).toString();
        result.error
            = QStringLiteral("Texten innehåller tecken som inte kan sparas: %1").arg(shown.join(u' '));
        return result;
    }
    const std::optional<QByteArray> bytes = encode(text);
    if (!bytes) {
        result.error = QStringLiteral("Filen %1 kunde inte sparas.").arg(fileName(path));
        return result;
    }
    if (!AtomicFile::writeAll(path, forReadBack(text, *bytes, readBack))) {
        result.error = QStringLiteral("Filen %1 kunde inte sparas.").arg(fileName(path));
        return result;
    }
    result.ok = true;
    return result;
}

QString sizeText(qint64 bytes)
{
    return bytes >= 1024 * 1024 ? QStringLiteral("%1 MB").arg(bytes / (1024 * 1024))
                                : QStringLiteral("%1 kB").arg(std::max<qint64>(bytes / 1024, 1));
}

} // namespace

std::optional<QByteArray> readBytes(const QString& path, QString* error, qint64 maxBytes)
{
    const QString name = fileName(path);
    auto fail = [&](const QString& text) -> std::optional<QByteArray> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    // A device or a pipe could be endless, or never answer at all.
    const QString notAFile = QStringLiteral("Filen %1 är ingen vanlig fil, så den kan inte läsas.").arg(name);
    if (QFileInfo fi(path); fi.exists() && !fi.isFile())
        return fail(notAFile);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Filen %1 kunde inte öppnas.").arg(name));
    if (struct stat st {}; ::fstat(file.handle(), &st) != 0 || !S_ISREG(st.st_mode))
        return fail(notAFile);
    QByteArray bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes + 1);
    if (maxBytes >= 0 && bytes.size() > maxBytes)
        return fail(
            QStringLiteral("Filen %1 är större än %2, så den läses inte.").arg(name, sizeText(maxBytes)));
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Filen %1 kunde inte läsas.").arg(fileName(path));
        return std::nullopt;
    }
    return bytes;
}

QString unencodable(const QString& text)
{
    QString found;
    QSet<char32_t> seen;
    for (char32_t c : text.toUcs4()) {
        // A lone surrogate comes out of toUcs4() as U+FFFD, which has no byte either.
        if (byteFor(c) >= 0 || seen.contains(c))
            continue;
        seen.insert(c);
        // Not QString::fromUcs4, which drops a byte order mark.
        found += QChar::fromUcs4(c);
    }
    return found;
}

ReadResult readLines(const QString& path, qint64 maxBytes, Decoding how)
{
    ReadResult result;
    const std::optional<QByteArray> bytes = readBytes(path, &result.error, maxBytes);
    if (!bytes)
        return result;
    result.lines = splitLines(decodeAs(*bytes, how));
    result.ok = true;
    return result;
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

std::optional<QString> readAll(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = readBytes(path, error);
    if (!bytes)
        return std::nullopt;
    QString text = decode(*bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

WriteResult writeLines(const QString& path, const QStringList& lines, Decoding readBack)
{
    QString text;
    for (const QString& line : lines) {
        // A line break inside an entry would come back as two entries.
        if (line.contains(u'\r') || line.contains(u'\n')) {
            WriteResult result;
            result.error = QStringLiteral("En rad innehåller en radbrytning, så filen %1 sparades inte.")
                               .arg(fileName(path));
            return result;
        }
        text += line;
        text += QLatin1String("\r\n");
    }
    return writeBytes(path, text, readBack);
}

WriteResult writeText(const QString& path, const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(u'\r', u'\n');
    out.replace(u'\n', QLatin1String("\r\n"));
    return writeBytes(path, out, Decoding::Windows1252);
}

std::optional<QString> readExact(const QString& path, QString* error, qint64 maxBytes, Decoding how)
{
    const std::optional<QByteArray> bytes = readBytes(path, error, maxBytes);
    if (!bytes)
        return std::nullopt;
    return decodeAs(*bytes, how);
}

WriteResult writeExact(const QString& path, const QString& text, Decoding readBack)
{
    return writeBytes(path, text, readBack);
}

QString fromWindows1252(const QByteArray& bytes)
{
    return decode(bytes);
}

} // namespace TextFile
