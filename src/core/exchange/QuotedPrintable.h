#pragma once

#include <QByteArray>

// Quoted-printable body encoding: CR LF pairs are the text's line breaks and
// stay line breaks; every other byte comes back unchanged after decoding, and
// no encoded line is longer than 76 characters.
namespace QuotedPrintable {

constexpr int MaxLineLength = 76;

QByteArray encode(const QByteArray& data);
// Soft line breaks are removed; a malformed "=" sequence is kept as it stands.
QByteArray decode(const QByteArray& encoded);

} // namespace QuotedPrintable
