#pragma once

#include <QChar>

#include <cstddef>

// Stepping through UTF-8 and UTF-16 in the text rules' inner loops. Nothing
// here fails: a byte that starts no valid sequence is taken alone.
namespace TextRules::detail {

// Invalid UTF-8 bytes decode one by one into the low-surrogate block, where no
// valid sequence can land, so they still compare and match as themselves.
constexpr char32_t kBadByte = 0xDC00;

inline bool isCont(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

inline char32_t decodeUtf8(const unsigned char*& p, const unsigned char* e)
{
    const unsigned char c = *p;
    if (c < 0x80) {
        ++p;
        return c;
    }
    const std::ptrdiff_t left = e - p;
    if (c >= 0xC2 && c < 0xE0) {
        if (left >= 2 && isCont(p[1])) {
            const char32_t cp = (char32_t(c & 0x1F) << 6) | (p[1] & 0x3F);
            p += 2;
            return cp;
        }
    } else if (c >= 0xE0 && c < 0xF0) {
        if (left >= 3 && isCont(p[1]) && isCont(p[2])) {
            const char32_t cp = (char32_t(c & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
                p += 3;
                return cp;
            }
        }
    } else if (c >= 0xF0 && c < 0xF5) {
        if (left >= 4 && isCont(p[1]) && isCont(p[2]) && isCont(p[3])) {
            const char32_t cp = (char32_t(c & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12)
                | (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
            if (cp >= 0x10000 && cp <= 0x10FFFF) {
                p += 4;
                return cp;
            }
        }
    }
    ++p;
    return kBadByte | c;
}

inline char32_t decodeUtf16(const char16_t*& p, const char16_t* e)
{
    const char16_t c = *p++;
    if (QChar::isHighSurrogate(c) && p < e && QChar::isLowSurrogate(*p))
        return QChar::surrogateToUcs4(c, *p++);
    return c;
}

// Writes at most four bytes; a lone surrogate becomes U+FFFD.
inline char* encodeUtf8(char32_t c, char* o)
{
    if (c < 0x80) {
        *o++ = char(c);
    } else if (c < 0x800) {
        *o++ = char(0xC0 | (c >> 6));
        *o++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        *o++ = char(0xE0 | (c >> 12));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    } else {
        *o++ = char(0xF0 | (c >> 18));
        *o++ = char(0x80 | ((c >> 12) & 0x3F));
        *o++ = char(0x80 | ((c >> 6) & 0x3F));
        *o++ = char(0x80 | (c & 0x3F));
    }
    return o;
}

} // namespace TextRules::detail
