#pragma once

#include "core/text/TextFile.h"

// Files a user may edit by hand: fridge lists, the mail settings, the address
// book, the print template and recipe files. Each is read whole, so each has
// a size cap; only regular files are read (a device or a pipe could be
// endless); the text is UTF-8 when the bytes are valid UTF-8, with or without
// a byte order mark, else Windows-1252 (TextDecoding). The program writes
// them in Windows-1252 with CR LF, as older copies of it read them.
namespace UserFile {

// A megabyte holds tens of thousands of lines: a larger file is none of these.
constexpr qint64 MaxBytes = 1024 * 1024;

// Lines as TextFile::splitLines() gives them; a refusal says why in Swedish,
// naming the file.
TextFile::ReadResult readLines(const QString& path, qint64 maxBytes = MaxBytes);
// The whole text, line ends as they stand.
std::optional<QString> readExact(const QString& path, QString* error, qint64 maxBytes = MaxBytes);
// The bytes, for a reader that looks at them before it decodes them.
std::optional<QByteArray> readBytes(const QString& path, QString* error, qint64 maxBytes = MaxBytes);
QString decode(const QByteArray& bytes);

// As TextFile's writers, so that whatever is written reads back the same.
TextFile::WriteResult writeLines(const QString& path, const QStringList& lines);
TextFile::WriteResult writeExact(const QString& path, const QString& text);

} // namespace UserFile
