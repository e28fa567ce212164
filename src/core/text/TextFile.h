#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's own text files: Windows-1252, one byte per character, CR LF
// line ends, so they stay interchangeable with the files users already have.
namespace TextFile {

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

// Splits at CR LF, lone CR or lone LF. A last line without terminator is read;
// a terminator at the very end adds no empty line; an empty line in the
// middle gives an empty entry; an empty file gives no lines. Anything but a
// regular file is refused, and so is a file over `maxBytes` when given.
ReadResult readLines(const QString& path, qint64 maxBytes = -1);

// The whole text with every line end (CR LF, lone CR, lone LF) as "\n".
std::optional<QString> readAll(const QString& path, QString* error);

// Writes each line followed by CR LF (the last one too); an empty list gives
// a 0-byte file. Refuses, writing nothing, when a character cannot be held in
// Windows-1252 or when a line itself contains CR or LF (it would come back as
// two entries). The old file is replaced only once the new one is complete.
WriteResult writeLines(const QString& path, const QStringList& lines);

// Writes every line end ("\n", "\r\n" or a lone "\r") as CR LF; otherwise as
// writeLines.
WriteResult writeText(const QString& path, const QString& text);

// The whole text with its line ends as they are in the file.
std::optional<QString> readExact(const QString& path, QString* error);
// Writes the text as it stands, line ends included; refuses as writeLines does
// when a character cannot be held.
WriteResult writeExact(const QString& path, const QString& text);

} // namespace TextFile
