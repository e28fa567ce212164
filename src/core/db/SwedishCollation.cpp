#include "core/db/SwedishCollation.h"

#include "core/db/CaseFold.h"
#include "core/db/TextRules.h"
#include "core/db/Utf8.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace TextRules {

namespace detail {

namespace {

constexpr std::uint32_t kAring = weightOf(U'z') + 1;
constexpr std::uint32_t kAuml = weightOf(U'z') + 2;
constexpr std::uint32_t kOuml = weightOf(U'z') + 3;

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

std::uint32_t extendedWeight(const WeightTable& t, char32_t cp, int depth = 0)
{
    const char32_t f = QChar::toCaseFolded(cp);
    if (f < 0x100)
        return t.latin1[f];
    if (std::uint32_t w = latinOverride(f))
        return w;
    if (depth < 4 && QChar::decompositionTag(f) != QChar::NoDecomposition) {
        const QString d = QChar::decomposition(f);
        if (!d.isEmpty() && QChar::isLetter(d.front().unicode()))
            return extendedWeight(t, d.front().unicode(), depth + 1);
    }
    return weightOf(f);
}

WeightTable buildWeightTable()
{
    WeightTable t {};
    for (char32_t c = 0; c < 256; ++c) {
        const char32_t f = QChar::toCaseFolded(c);
        t.latin1[c] = f < 256 ? latin1LetterWeight(f) : weightOf(f);
    }
    for (char32_t i = 0; i < kLatinExtCount; ++i)
        t.latinExt[i] = extendedWeight(t, kLatinExtFirst + i);
    for (char32_t i = 0; i < kLatinAddCount; ++i)
        t.latinAdd[i] = extendedWeight(t, kLatinAddFirst + i);
    return t;
}

// Two code points by weight; equal weights leave the first difference of
// their folded forms in `tie`.
inline int weigh(const FoldTable& f, const WeightTable& w, char32_t xa, char32_t xb, int& tie)
{
    if (xa == xb)
        return 0;
    const char32_t fa = foldCp(f, xa);
    const char32_t fb = foldCp(f, xb);
    const std::uint32_t wa = weightFolded(w, fa);
    const std::uint32_t wb = weightFolded(w, fb);
    if (wa != wb)
        return wa < wb ? -1 : 1;
    if (!tie && fa != fb)
        tie = fa < fb ? -1 : 1;
    return 0;
}

} // namespace

const WeightTable& weightTable()
{
    static const WeightTable t = buildWeightTable();
    return t;
}

} // namespace detail

using namespace detail;

int compareUtf8(const char* a, int na, const char* b, int nb)
{
    const FoldTable& f = foldTable();
    const WeightTable& w = weightTable();
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
            if (ca != cb && w.latin1[ca] != w.latin1[cb])
                return w.latin1[ca] < w.latin1[cb] ? -1 : 1;
            continue;
        }
        const char32_t xa = decodeUtf8(pa, ea);
        const char32_t xb = decodeUtf8(pb, eb);
        if (const int c = weigh(f, w, xa, xb, tie))
            return c;
    }
    return pa < ea ? 1 : pb < eb ? -1 : tie;
}

int compare(QStringView a, QStringView b)
{
    const FoldTable& f = foldTable();
    const WeightTable& w = weightTable();
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
        if (const int c = weigh(f, w, xa, xb, tie))
            return c;
    }
    return pa < ea ? 1 : pb < eb ? -1 : tie;
}

} // namespace TextRules
