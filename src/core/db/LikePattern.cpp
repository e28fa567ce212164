#include "core/db/LikePattern.h"

#include "core/db/CaseFold.h"
#include "core/db/SwedishCollation.h"
#include "core/db/TextRules.h"
#include "core/db/Utf8.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace TextRules {

using namespace detail;

bool like(QStringView text, QStringView pattern)
{
    return LikePattern(pattern).matches(text);
}

LikePattern::LikePattern(QStringView pattern, char32_t escape)
    : m_escape(escape)
{
    std::vector<char32_t> cps;
    cps.reserve(std::size_t(pattern.size()));
    for (const char16_t *p = pattern.utf16(), *e = p + pattern.size(); p < e;)
        cps.push_back(decodeUtf16(p, e));
    compile(cps);
    chooseKind();
}

void LikePattern::compile(const std::vector<char32_t>& cps)
{
    const FoldTable& f = foldTable();
    auto literal = [&](char32_t c) { m_tokens.push_back({ Op::Literal, foldCp(f, c), 0 }); };
    const std::size_t n = cps.size();
    for (std::size_t i = 0; i < n;) {
        const char32_t c = cps[i];
        if (m_escape && c == m_escape) {
            literal(i + 1 < n ? cps[i + 1] : c);
            i += 2;
            continue;
        }
        switch (c) {
        case U'*':
            if (m_tokens.empty() || m_tokens.back().op != Op::Star)
                m_tokens.push_back({ Op::Star, 0, 0 });
            break;
        case U'?':
            m_tokens.push_back({ Op::One, 0, 0 });
            break;
        case U'#':
            m_tokens.push_back({ Op::Digit, 0, 0 });
            break;
        case U'[':
            if (const std::size_t next = compileSet(cps, i)) {
                i = next;
                continue;
            }
            literal(c);
            break;
        default:
            literal(c);
            break;
        }
        ++i;
    }
}

std::size_t LikePattern::compileSet(const std::vector<char32_t>& cps, std::size_t open)
{
    const FoldTable& f = foldTable();
    const WeightTable& w = weightTable();
    const std::size_t n = cps.size();
    std::size_t first = open + 1;
    const bool negated = first < n && cps[first] == U'!';
    if (negated)
        ++first;
    // A ']' right after the opening belongs to the set.
    std::size_t close = first < n && cps[first] == U']' ? first + 1 : first;
    while (close < n && cps[close] != U']')
        ++close;
    if (close >= n)
        return 0;
    const auto start = std::uint32_t(m_items.size());
    for (std::size_t m = first; m < close;) {
        if (m + 2 < close && cps[m + 1] == U'-') {
            m_items.push_back(
                { weightFolded(w, foldCp(f, cps[m])), weightFolded(w, foldCp(f, cps[m + 2])), true });
            m += 3;
        } else {
            const char32_t c = foldCp(f, cps[m]);
            m_items.push_back({ c, c, false });
            ++m;
        }
    }
    m_tokens.push_back({ negated ? Op::NotSet : Op::Set, start, std::uint32_t(m_items.size()) - start });
    return close + 1;
}

void LikePattern::chooseKind()
{
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
    const std::uint32_t w = weightFolded(weightTable(), folded);
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
