#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's own text files: Windows-1252, one byte per character, CR LF
// line ends, so they stay interchangeable with the files users already have.
namespace TextFile {

// How a file's bytes are taken: as Windows-1252 (the program's own pages), or
// by content as TextDecoding says (files a user may edit by hand).
enum class Decoding { Windows1252, ByContent };

struct ReadResult {
    bool ok = false;
    QStringList lines;
    QString error; // a Swedish sentence naming the file
};

struct WriteResult {
    bool ok = false;
    QString error;
    // The distinct characters Windows-1252 cannot hold, in order of first
    // appearance; set when that was the reason for refusing.
    QString unencodable;
};

// Characters of `text` that Windows-1252 cannot hold (each once, in order of
// first appearance); empty when the whole text fits.
QString unencodable(const QString& text);

// Bytes of a Windows-1252 file as text, every byte one character, line ends
// as they stand.
QString fromWindows1252(const QByteArray& bytes);

// The file's bytes. Anything but a regular file is refused (a device or a
// pipe could be endless or never answer), and so is a file over `maxBytes`
// when given; `error` then holds a Swedish sentence naming the file.
std::optional<QByteArray> readBytes(const QString& path, QString* error, qint64 maxBytes = -1);

// Splits at CR LF, lone CR or lone LF. A last line without terminator is read;
// a terminator at the very end adds no empty line; an empty line in the
// middle gives an empty entry; an empty text gives no lines.
QStringList splitLines(const QString& text);

// The file's lines as splitLines() gives them; refused as readBytes() says.
ReadResult readLines(const QString& path, qint64 maxBytes = -1, Decoding how = Decoding::Windows1252);

// The whole text with every line end (CR LF, lone CR, lone LF) as "\n".
std::optional<QString> readAll(const QString& path, QString* error);

// Writes each line followed by CR LF (the last one too); an empty list gives
// a 0-byte file. Refuses, writing nothing, when a character cannot be held in
// Windows-1252 or when a line itself contains CR or LF (it would come back as
// two entries). The old file is replaced only once the new one is complete.
// A file read back by content whose Windows-1252 bytes would read as other
// text (they are valid UTF-8, as "Ã¶" is) is written as UTF-8 with a byte
// order mark.
WriteResult writeLines(
    const QString& path, const QStringList& lines, Decoding readBack = Decoding::Windows1252);

// Writes every line end ("\n", "\r\n" or a lone "\r") as CR LF; otherwise as
// writeLines.
WriteResult writeText(const QString& path, const QString& text);

// The whole text with its line ends as they are in the file.
std::optional<QString> readExact(
    const QString& path, QString* error, qint64 maxBytes = -1, Decoding how = Decoding::Windows1252);
// Writes the text as it stands, line ends included; refuses and guards as
// writeLines does.
WriteResult writeExact(const QString& path, const QString& text, Decoding readBack = Decoding::Windows1252);

} // namespace TextFile
