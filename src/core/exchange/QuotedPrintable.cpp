#include "core/exchange/QuotedPrintable.h"

namespace QuotedPrintable {

namespace {

constexpr char Hex[] = "0123456789ABCDEF";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

QByteArray encode(const QByteArray& data)
{
    QByteArray out;
    out.reserve(data.size() + data.size() / 8 + 8);
    int col = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b == '\r' && i + 1 < n && data[i + 1] == '\n') {
            out += "\r\n";
            col = 0;
            ++i;
            continue;
        }
        const bool atLineEnd = i + 1 == n || (data[i + 1] == '\r' && i + 2 < n && data[i + 2] == '\n');
        // Space and tab before a line end would be lost to trailing-space
        // stripping on the way; everything outside printable ASCII and "="
        // is written as a code.
        const bool literal = (b >= 33 && b <= 126 && b != '=') || ((b == ' ' || b == '\t') && !atLineEnd);
        const int width = literal ? 1 : 3;
        // A soft break keeps each line within 76 characters, "=" included;
        // the last piece of a line needs no room for it.
        const int room = atLineEnd ? MaxLineLength : MaxLineLength - 1;
        if (col + width > room) {
            out += "=\r\n";
            col = 0;
        }
        if (literal) {
            out += char(b);
        } else {
            out += '=';
            out += Hex[b >> 4];
            out += Hex[b & 15];
        }
        col += width;
    }
    return out;
}

QByteArray decode(const QByteArray& encoded)
{
    QByteArray out;
    out.reserve(encoded.size());
    const qsizetype n = encoded.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = encoded[i];
        if (c != '=') {
            out += c;
            continue;
        }
        if (i + 2 < n && encoded[i + 1] == '\r' && encoded[i + 2] == '\n') {
            i += 2;
            continue;
        }
        if (i + 1 < n && encoded[i + 1] == '\n') {
            ++i;
            continue;
        }
        if (i + 2 < n) {
            const int hi = hexValue(encoded[i + 1]);
            const int lo = hexValue(encoded[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += char(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace QuotedPrintable
