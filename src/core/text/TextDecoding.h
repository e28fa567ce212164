#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The one rule for text whose encoding nobody states: files the user edits by
// hand and files from other programs. Today's editors write UTF-8, the
// program and older editors Windows-1252.
namespace TextDecoding {

// The text when the bytes say they are Unicode: a UTF-16 byte order mark, or
// valid UTF-8 from end to end (a UTF-8 byte order mark is dropped). Nothing
// otherwise.
std::optional<QString> unicode(const QByteArray& bytes);

// Valid UTF-8 from end to end (a leading byte order mark allowed).
bool isUtf8(const QByteArray& bytes);

// As unicode() says, else Windows-1252, where every byte is a character.
// Windows-1252 text is valid UTF-8 only when each of its bytes above 127
// stands in a pair such as "Ã¶"; one "å", "ä" or "ö" beside a plain letter
// is never valid UTF-8.
QString decode(const QByteArray& bytes);

} // namespace TextDecoding
