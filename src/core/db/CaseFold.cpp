#include "core/db/CaseFold.h"

#include "core/db/TextRules.h"
#include "core/db/Utf8.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace TextRules {

namespace detail {

namespace {

FoldTable buildFoldTable()
{
    FoldTable t {};
    for (char32_t c = 0; c < 128; ++c)
        t.ascii[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (char32_t c = 0; c < 256; ++c)
        t.latin1[c] = QChar::toCaseFolded(c);
    return t;
}

} // namespace

const FoldTable& foldTable()
{
    static const FoldTable t = buildFoldTable();
    return t;
}

std::size_t foldInto(const unsigned char* s, std::size_t n, char* out)
{
    const FoldTable& t = foldTable();
    const unsigned char* p = s;
    const unsigned char* e = s + n;
    char* o = out;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    while (p < e) {
        // ASCII eight bytes at a time: set 0x20 in every byte in 'A'..'Z'. All
        // eight are written, but only those before the first non-ASCII byte
        // count; the slack in foldCapacity() covers the rest.
        while (e - p >= 8) {
            std::uint64_t x;
            std::memcpy(&x, p, 8);
            const std::uint64_t high = x & kHigh;
            const std::uint64_t low7 = x & ~kHigh;
            const std::uint64_t atLeastA = low7 + 0x3F3F3F3F3F3F3F3Full;
            const std::uint64_t pastZ = low7 + 0x2525252525252525ull;
            x |= ((atLeastA ^ pastZ) & kHigh) >> 2;
            std::memcpy(o, &x, 8);
            if (!high) {
                p += 8;
                o += 8;
                continue;
            }
            std::size_t ascii = 0;
            if constexpr (std::endian::native == std::endian::little)
                ascii = std::size_t(std::countr_zero(high)) / 8;
            else
                while (p[ascii] < 0x80)
                    ++ascii;
            p += ascii;
            o += ascii;
            break;
        }
        if (p == e)
            break;
        if (*p < 0x80) {
            *o++ = char(t.ascii[*p++]);
            continue;
        }
        // Latin-1 letters stay two bytes behind 0xC3, the common case here.
        if (*p == 0xC3 && e - p >= 2 && isCont(p[1])) {
            const char32_t f = t.latin1[0xC0 | (p[1] & 0x3F)];
            if (f >= 0xC0 && f <= 0xFF) {
                *o++ = char(0xC3);
                *o++ = char(0x80 | (f & 0x3F));
                p += 2;
                continue;
            }
        }
        const char32_t c = decodeUtf8(p, e);
        if ((c & ~char32_t(0xFF)) == kBadByte)
            *o++ = char(c & 0xFF);
        else
            o = encodeUtf8(foldCp(t, c), o);
    }
    return std::size_t(o - out);
}

const std::string& foldedScratch(const char* s, std::size_t n)
{
    thread_local std::string buf;
    buf.resize(foldCapacity(n));
    buf.resize(foldInto(reinterpret_cast<const unsigned char*>(s), n, buf.data()));
    return buf;
}

} // namespace detail

using namespace detail;

void foldUtf8(const char* s, int n, std::string& out)
{
    out.clear();
    if (!s || n <= 0)
        return;
    out.resize(foldCapacity(std::size_t(n)));
    out.resize(foldInto(reinterpret_cast<const unsigned char*>(s), std::size_t(n), out.data()));
}

std::size_t appendFoldedUtf8(const char* s, std::size_t n, std::string& out)
{
    if (!s || n == 0)
        return 0;
    const std::size_t at = out.size();
    out.resize(at + foldCapacity(n));
    const std::size_t added = foldInto(reinterpret_cast<const unsigned char*>(s), n, out.data() + at);
    out.resize(at + added);
    return added;
}

std::string foldUtf8(QStringView s)
{
    const FoldTable& t = foldTable();
    std::string out(std::size_t(s.size()) * 3 + 1, '\0');
    char* o = out.data();
    const char16_t* p = s.utf16();
    const char16_t* e = p + s.size();
    while (p < e)
        o = encodeUtf8(foldCp(t, decodeUtf16(p, e)), o);
    out.resize(std::size_t(o - out.data()));
    return out;
}

} // namespace TextRules
