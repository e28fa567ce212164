#include "core/db/TextRules.h"

#include <QChar>
#include <QString>
#include <QStringDecoder>

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

namespace TextRules {

namespace {

// Alphabet weights: a code point's weight is its value shifted left 8 bits, so
// non-letters keep code point order; Latin letters take their base letter's
// weight and å ä ö slot in right after z.
constexpr std::uint32_t weightOf(char32_t base)
{
    return std::uint32_t(base) << 8;
}
constexpr std::uint32_t kAring = weightOf(U'z') + 1;
constexpr std::uint32_t kAuml = weightOf(U'z') + 2;
constexpr std::uint32_t kOuml = weightOf(U'z') + 3;

constexpr char32_t kLatinExtFirst = 0x100, kLatinExtCount = 0x150; // U+0100..U+024F
constexpr char32_t kLatinAddFirst = 0x1E00, kLatinAddCount = 0x100; // U+1E00..U+1EFF

struct Tables {
    unsigned char asciiFold[128];
    char32_t fold[256]; // Latin-1 folded
    std::uint32_t weight[256]; // weight of the folded Latin-1 character
    std::uint32_t latinExt[kLatinExtCount]; // by folded code point
    std::uint32_t latinAdd[kLatinAddCount];
};

std::uint32_t latin1LetterWeight(char32_t folded)
{
    struct Group {
        const char16_t* chars;
        std::uint32_t weight;
    };
    static const Group groups[] = {
        { u"àáâã", weightOf(U'a') },
        { u"ç", weightOf(U'c') },
        { u"èéêë", weightOf(U'e') },
        { u"ìíîï", weightOf(U'i') },
        { u"ð", weightOf(U'd') },
        { u"ñ", weightOf(U'n') },
        { u"òóôõ", weightOf(U'o') },
        { u"ùúû", weightOf(U'u') },
        { u"üýÿ", weightOf(U'y') },
        { u"þ", weightOf(U't') },
        { u"ß", weightOf(U's') },
        { u"å", kAring },
        { u"äæ", kAuml },
        { u"öø", kOuml },
    };
    for (const Group& g : groups)
        for (const char16_t* c = g.chars; *c; ++c)
            if (*c == folded)
                return g.weight;
    return weightOf(folded);
}

// Letters without a decomposition that readers still see as a base letter.
std::uint32_t latinOverride(char32_t folded)
{
    switch (folded) {
    case 0x111: // đ
        return weightOf(U'd');
    case 0x127: // ħ
        return weightOf(U'h');
    case 0x131: // ı
        return weightOf(U'i');
    case 0x142: // ł
        return weightOf(U'l');
    case 0x14B: // ŋ
        return weightOf(U'n');
    case 0x153: // œ
        return weightOf(U'o');
    case 0x167: // ŧ
        return weightOf(U't');
    case 0x180: // ƀ
        return weightOf(U'b');
    case 0x192: // ƒ
        return weightOf(U'f');
    case 0x1E5: // ǥ
        return weightOf(U'g');
    default:
        return 0;
    }
}

std::uint32_t extendedWeight(const Tables& t, char32_t cp, int depth = 0)
{
    const char32_t f = QChar::toCaseFolded(cp);
    if (f < 0x100)
        return t.weight[f];
    if (std::uint32_t w = latinOverride(f))
        return w;
    if (depth < 4 && QChar::decompositionTag(f) != QChar::NoDecomposition) {
        const QString d = QChar::decomposition(f);
        if (!d.isEmpty() && QChar::isLetter(d.front().unicode()))
            return extendedWeight(t, d.front().unicode(), depth + 1);
    }
    return weightOf(f);
}

Tables buildTables()
{
    Tables t {};
    for (char32_t c = 0; c < 128; ++c)
        t.asciiFold[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (char32_t c = 0; c < 256; ++c)
        t.fold[c] = QChar::toCaseFolded(c);
    for (char32_t c = 0; c < 256; ++c)
        t.weight[c] = t.fold[c] < 256 ? latin1LetterWeight(t.fold[c]) : weightOf(t.fold[c]);
    for (char32_t i = 0; i < kLatinExtCount; ++i)
        t.latinExt[i] = extendedWeight(t, kLatinExtFirst + i);
    for (char32_t i = 0; i < kLatinAddCount; ++i)
        t.latinAdd[i] = extendedWeight(t, kLatinAddFirst + i);
    return t;
}

const Tables& tables()
{
    static const Tables t = buildTables();
    return t;
}

inline char32_t foldCp(const Tables& t, char32_t c)
{
    return c < 256 ? t.fold[c] : QChar::toCaseFolded(c);
}

inline std::uint32_t weightFolded(const Tables& t, char32_t f)
{
    if (f < 256)
        return t.weight[f];
    if (f - kLatinExtFirst < kLatinExtCount)
        return t.latinExt[f - kLatinExtFirst];
    if (f - kLatinAddFirst < kLatinAddCount)
        return t.latinAdd[f - kLatinAddFirst];
    return weightOf(f);
}

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

// Folding can grow a two-byte character to three bytes (U+023A → U+2C65), never more.
inline std::size_t foldCapacity(std::size_t n)
{
    return n + n / 2 + 8;
}

// Folds n bytes of UTF-8 into out (room for foldCapacity(n)); returns the bytes written.
std::size_t foldInto(const unsigned char* s, std::size_t n, char* out)
{
    const Tables& t = tables();
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
            *o++ = char(t.asciiFold[*p++]);
            continue;
        }
        // Latin-1 letters stay two bytes behind 0xC3, the common case here.
        if (*p == 0xC3 && e - p >= 2 && isCont(p[1])) {
            const char32_t f = t.fold[0xC0 | (p[1] & 0x3F)];
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

thread_local std::string t_folded;

const std::string& foldedScratch(const char* s, std::size_t n)
{
    std::string& buf = t_folded;
    buf.resize(foldCapacity(n));
    buf.resize(foldInto(reinterpret_cast<const unsigned char*>(s), n, buf.data()));
    return buf;
}

int collateSv(void*, int na, const void* a, int nb, const void* b)
{
    return compareUtf8(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

void deletePattern(void* p)
{
    delete static_cast<LikePattern*>(p);
}

// like(pattern, text [, escape]): SQL's `text LIKE pattern` calls it in that order.
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    char32_t escape = 0;
    if (argc == 3) {
        if (sqlite3_value_type(argv[2]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
        const auto* e = static_cast<const char16_t*>(sqlite3_value_text16(argv[2]));
        const int bytes = sqlite3_value_bytes16(argv[2]);
        if (!e)
            return sqlite3_result_error_nomem(ctx);
        const char16_t* end = e + bytes / 2;
        const char16_t* p = e;
        escape = p < end ? decodeUtf16(p, end) : 0;
        if (escape == 0 || p != end)
            return sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
    }

    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    LikePattern* fresh = nullptr;
    if (!pattern || pattern->escape() != escape) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        const int np = sqlite3_value_bytes(argv[0]);
        if (!p)
            return sqlite3_result_error_nomem(ctx);
        if (np > sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1))
            return sqlite3_result_error(ctx, "LIKE or GLOB pattern too complex", -1);
        fresh = new LikePattern(fromUtf8(p, np), escape);
        pattern = fresh;
    }

    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int nt = sqlite3_value_bytes(argv[1]);
    if (!text) {
        delete fresh;
        return sqlite3_result_error_nomem(ctx);
    }
    sqlite3_result_int(ctx, pattern->matches(text, nt) ? 1 : 0);
    // Hand over last: SQLite may free it at once.
    if (fresh)
        sqlite3_set_auxdata(ctx, 0, fresh, deletePattern);
}

} // namespace

bool registerOn(sqlite3* db)
{
    if (!db)
        return false;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_collation_v2(db, "SV", SQLITE_UTF8, nullptr, collateSv, nullptr) == SQLITE_OK
        && sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr)
        == SQLITE_OK
        && sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr, nullptr)
        == SQLITE_OK;
}

namespace {

// Two code points by weight; equal weights leave the first difference of
// their folded forms in `tie`.
inline int weigh(const Tables& t, char32_t xa, char32_t xb, int& tie)
{
    if (xa == xb)
        return 0;
    const char32_t fa = foldCp(t, xa);
    const char32_t fb = foldCp(t, xb);
    const std::uint32_t wa = weightFolded(t, fa);
    const std::uint32_t wb = weightFolded(t, fb);
    if (wa != wb)
        return wa < wb ? -1 : 1;
    if (!tie && fa != fb)
        tie = fa < fb ? -1 : 1;
    return 0;
}

} // namespace

int compareUtf8(const char* a, int na, const char* b, int nb)
{
    const Tables& t = tables();
    const auto* pa = reinterpret_cast<const unsigned char*>(a);
    const auto* pb = reinterpret_cast<const unsigned char*>(b);
    const unsigned char* ea = pa + (a && na > 0 ? na : 0);
    const unsigned char* eb = pb + (b && nb > 0 ? nb : 0);
    // Identical bytes decide nothing. Skip them, then step back to where a
    // character starts in both texts (every non-continuation byte is one).
    const std::size_t limit = std::size_t(std::min(ea - pa, eb - pb));
    std::size_t same = 0;
    for (std::uint64_t x, y; same + 8 <= limit; same += 8) {
        std::memcpy(&x, pa + same, 8);
        std::memcpy(&y, pb + same, 8);
        if (x != y)
            break;
    }
    while (same < limit && pa[same] == pb[same])
        ++same;
    while (same > 0 && ((pa + same < ea && isCont(pa[same])) || (pb + same < eb && isCont(pb[same]))))
        --same;
    pa += same;
    pb += same;
    int tie = 0;
    while (pa < ea && pb < eb) {
        const unsigned char ca = *pa;
        const unsigned char cb = *pb;
        if ((ca | cb) < 0x80) {
            ++pa;
            ++pb;
            // In ASCII equal weight means equal folding, so no tie to note.
            if (ca != cb && t.weight[ca] != t.weight[cb])
                return t.weight[ca] < t.weight[cb] ? -1 : 1;
            continue;
        }
        const char32_t xa = decodeUtf8(pa, ea);
        const char32_t xb = decodeUtf8(pb, eb);
        if (const int c = weigh(t, xa, xb, tie))
            return c;
    }
    return pa < ea ? 1 : pb < eb ? -1 : tie;
}

int compare(QStringView a, QStringView b)
{
    const Tables& t = tables();
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    const char16_t* ea = pa + a.size();
    const char16_t* eb = pb + b.size();
    const qsizetype limit = std::min(a.size(), b.size());
    qsizetype same = 0;
    while (same < limit && pa[same] == pb[same])
        ++same;
    while (same > 0
        && ((same < a.size() && QChar::isLowSurrogate(pa[same]))
            || (same < b.size() && QChar::isLowSurrogate(pb[same]))))
        --same;
    pa += same;
    pb += same;
    int tie = 0;
    while (pa < ea && pb < eb) {
        const char32_t xa = decodeUtf16(pa, ea);
        const char32_t xb = decodeUtf16(pb, eb);
        if (const int c = weigh(t, xa, xb, tie))
            return c;
    }
    return pa < ea ? 1 : pb < eb ? -1 : tie;
}

QString fromUtf8(const char* s, qsizetype n)
{
    if (n < 3 || std::memcmp(s, "\xEF\xBB\xBF", 3) != 0)
        return QString::fromUtf8(s, n);
    QStringDecoder keep(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return keep.decode(QByteArrayView(s, n));
}

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
    const Tables& t = tables();
    std::string out(std::size_t(s.size()) * 3 + 1, '\0');
    char* o = out.data();
    const char16_t* p = s.utf16();
    const char16_t* e = p + s.size();
    while (p < e)
        o = encodeUtf8(foldCp(t, decodeUtf16(p, e)), o);
    out.resize(std::size_t(o - out.data()));
    return out;
}

bool like(QStringView text, QStringView pattern)
{
    return LikePattern(pattern).matches(text);
}

LikePattern::LikePattern(QStringView pattern, char32_t escape)
    : m_escape(escape)
{
    const Tables& t = tables();
    std::vector<char32_t> cps;
    cps.reserve(std::size_t(pattern.size()));
    for (const char16_t *p = pattern.utf16(), *e = p + pattern.size(); p < e;)
        cps.push_back(decodeUtf16(p, e));

    auto literal = [&](char32_t c) { m_tokens.push_back({ Op::Literal, foldCp(t, c), 0 }); };
    const std::size_t n = cps.size();
    for (std::size_t i = 0; i < n;) {
        const char32_t c = cps[i];
        if (escape && c == escape) {
            literal(i + 1 < n ? cps[i + 1] : c);
            i += 2;
            continue;
        }
        switch (c) {
        case U'*':
            if (m_tokens.empty() || m_tokens.back().op != Op::Star)
                m_tokens.push_back({ Op::Star, 0, 0 });
            ++i;
            continue;
        case U'?':
            m_tokens.push_back({ Op::One, 0, 0 });
            ++i;
            continue;
        case U'#':
            m_tokens.push_back({ Op::Digit, 0, 0 });
            ++i;
            continue;
        case U'[':
            break;
        default:
            literal(c);
            ++i;
            continue;
        }

        std::size_t first = i + 1;
        const bool negated = first < n && cps[first] == U'!';
        if (negated)
            ++first;
        // A ']' right after the opening belongs to the set.
        std::size_t close = first < n && cps[first] == U']' ? first + 1 : first;
        while (close < n && cps[close] != U']')
            ++close;
        if (close >= n) {
            literal(c);
            ++i;
            continue;
        }
        const auto start = std::uint32_t(m_items.size());
        for (std::size_t m = first; m < close;) {
            if (m + 2 < close && cps[m + 1] == U'-') {
                m_items.push_back(
                    { weightFolded(t, foldCp(t, cps[m])), weightFolded(t, foldCp(t, cps[m + 2])), true });
                m += 3;
            } else {
                const char32_t f = foldCp(t, cps[m]);
                m_items.push_back({ f, f, false });
                ++m;
            }
        }
        m_tokens.push_back({ negated ? Op::NotSet : Op::Set, start, std::uint32_t(m_items.size()) - start });
        i = close + 1;
    }

    // Plain texts with a star at either end become byte searches on folded text.
    const std::size_t lead = !m_tokens.empty() && m_tokens.front().op == Op::Star ? 1 : 0;
    const std::size_t trail = m_tokens.size() > lead && m_tokens.back().op == Op::Star ? 1 : 0;
    bool plain = true;
    for (std::size_t k = lead; k + trail < m_tokens.size(); ++k)
        plain = plain && m_tokens[k].op == Op::Literal;
    if (!plain) {
        // The longest run of plain characters must occur somewhere; a byte
        // search for it turns most rows away before the glob walk.
        std::size_t best = 0, bestLen = 0;
        for (std::size_t k = 0; k < m_tokens.size();) {
            std::size_t end = k;
            while (end < m_tokens.size() && m_tokens[end].op == Op::Literal)
                ++end;
            if (end - k > bestLen) {
                best = k;
                bestLen = end - k;
            }
            k = end + 1;
        }
        m_literal = encodeTokens(best, best + bestLen);
        return;
    }
    if (lead && m_tokens.size() == 1) {
        m_kind = Kind::Anything;
        return;
    }
    m_literal = encodeTokens(lead, m_tokens.size() - trail);
    m_kind = lead ? (trail ? Kind::Contains : Kind::Suffix) : (trail ? Kind::Prefix : Kind::Exact);
}

std::string LikePattern::encodeTokens(std::size_t from, std::size_t to) const
{
    std::string out((to - from) * 4, '\0');
    char* o = out.data();
    for (std::size_t k = from; k < to; ++k)
        o = encodeUtf8(m_tokens[k].value, o);
    out.resize(std::size_t(o - out.data()));
    return out;
}

bool LikePattern::matches(QStringView text) const
{
    const QByteArray utf8 = text.toUtf8();
    return matches(utf8.constData(), int(utf8.size()));
}

bool LikePattern::matches(const char* utf8, int n) const
{
    const std::size_t size = utf8 && n > 0 ? std::size_t(n) : 0;
    switch (m_kind) {
    case Kind::Anything:
        return true;
    case Kind::Exact:
        // Every character folds to at least one byte from at most four.
        if (size > m_literal.size() * 4)
            return false;
        break;
    case Kind::Prefix:
        // Folding the first 4·len + 8 bytes yields more than len whole characters.
        return matchesFolded(foldedScratch(utf8, std::min(size, m_literal.size() * 4 + 8)));
    default:
        break;
    }
    return matchesFolded(foldedScratch(utf8, size));
}

bool LikePattern::matchesFolded(std::string_view f) const
{
    const std::string_view lit(m_literal);
    switch (m_kind) {
    case Kind::Anything:
        return true;
    case Kind::Exact:
        return f == lit;
    case Kind::Prefix:
        return f.starts_with(lit);
    case Kind::Suffix:
        return f.ends_with(lit);
    case Kind::Contains:
        return memmem(f.data(), f.size(), lit.data(), lit.size()) != nullptr;
    case Kind::General:
        break;
    }
    if (!lit.empty() && !memmem(f.data(), f.size(), lit.data(), lit.size()))
        return false;
    return matchGeneral(f.data(), f.size());
}

bool LikePattern::inSet(const Token& t, char32_t folded) const
{
    const std::uint32_t w = weightFolded(tables(), folded);
    for (std::uint32_t k = t.value; k < t.value + t.count; ++k) {
        const SetItem& item = m_items[k];
        if (item.range ? (w >= item.lo && w <= item.hi) : folded == item.lo)
            return true;
    }
    return false;
}

// Classic glob walk: remember the last star and let it swallow one more
// character on a mismatch, which keeps the work at O(text × pattern).
bool LikePattern::matchGeneral(const char* s, std::size_t n) const
{
    const auto* base = reinterpret_cast<const unsigned char*>(s);
    const unsigned char* end = base + n;
    const unsigned char* p = base;
    const std::size_t count = m_tokens.size();
    std::size_t pi = 0;
    std::size_t starPi = 0;
    const unsigned char* starText = nullptr;
    while (p < end) {
        if (pi < count && m_tokens[pi].op == Op::Star) {
            starPi = ++pi;
            starText = p;
            continue;
        }
        if (pi < count) {
            const unsigned char* next = p;
            const char32_t c = decodeUtf8(next, end);
            const Token& tk = m_tokens[pi];
            bool ok = false;
            switch (tk.op) {
            case Op::One:
                ok = true;
                break;
            case Op::Digit:
                ok = c >= U'0' && c <= U'9';
                break;
            case Op::Literal:
                ok = c == tk.value;
                break;
            case Op::Set:
                ok = inSet(tk, c);
                break;
            case Op::NotSet:
                ok = !inSet(tk, c);
                break;
            case Op::Star:
                break;
            }
            if (ok) {
                p = next;
                ++pi;
                continue;
            }
        }
        if (!starText)
            return false;
        decodeUtf8(starText, end);
        p = starText;
        pi = starPi;
    }
    while (pi < count && m_tokens[pi].op == Op::Star)
        ++pi;
    return pi == count;
}

} // namespace TextRules
