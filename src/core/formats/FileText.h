#pragma once

#include <QByteArray>
#include <QString>

// Text of files from other programs, decoded as the file says or by content
// (the rule itself is TextDecoding's, shared with the hand-edited files).
namespace FileText {

// Valid UTF-8 from end to end (a leading byte order mark allowed).
bool isUtf8(const QByteArray& bytes);

// UTF-16 when a byte order mark says so; UTF-8 when the bytes are valid
// UTF-8; else Windows-1252, where every byte is a character. A UTF-8 byte
// order mark is dropped.
QString decode(const QByteArray& bytes);

// Text from the DOS years: as decode(), except that code page 437 is taken
// instead of Windows-1252 when more of the bytes above 127 make sense in it:
// letters inside words (not straight after a number), degree signs after a
// number, fractions beside one. A tie goes to Windows-1252.
QString decodeDos(const QByteArray& bytes);

QString fromCp437(const QByteArray& bytes);

} // namespace FileText
