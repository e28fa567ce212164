// The cookbook's LIKE: the compiled pattern (with its fast paths) agrees with
// a plain reference matcher, its UTF-8 and UTF-16 forms agree, and the SQL
// function on a connection agrees with TextRules::like.
// Input: pattern, NUL, text [, NUL, escape character].
#include "core/db/Database.h"
#include "core/db/TextRules.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<char32_t> folded(const QString& s)
{
    const std::string f = TextRules::foldUtf8(s);
    const QList<uint> cps = TextRules::fromUtf8(f.data(), qsizetype(f.size())).toUcs4();
    return { cps.begin(), cps.end() };
}

// QString::fromUcs4 would drop a byte order mark.
QString one(char32_t c)
{
    return QStringView(QChar::fromUcs4(c)).toString();
}

char32_t foldOne(char32_t c)
{
    return folded(one(c)).at(0);
}

// Alphabet order of two single characters, ties broken by a second
// character so that only the weight decides: weight(x) <= weight(y).
bool weightAtMost(char32_t x, char32_t y)
{
    return TextRules::compare(one(x) + u'a', one(y) + u'b') < 0;
}

struct Item {
    char32_t lo, hi;
    bool range;
};
struct Token {
    enum { Star, One, Digit, Literal, Set, NotSet } op;
    char32_t value = 0;
    std::vector<Item> items;
};

// The documented syntax, read the simple way.
std::vector<Token> parse(const QString& pattern, char32_t escape)
{
    const QList<uint> raw = pattern.toUcs4();
    const std::vector<char32_t> p(raw.begin(), raw.end());
    std::vector<Token> out;
    for (std::size_t i = 0; i < p.size();) {
        const char32_t c = p[i];
        if (escape && c == escape) {
            out.push_back({ Token::Literal, foldOne(i + 1 < p.size() ? p[i + 1] : c), {} });
            i += 2;
        } else if (c == U'*') {
            out.push_back({ Token::Star, 0, {} });
            ++i;
        } else if (c == U'?') {
            out.push_back({ Token::One, 0, {} });
            ++i;
        } else if (c == U'#') {
            out.push_back({ Token::Digit, 0, {} });
            ++i;
        } else if (c == U'[') {
            std::size_t first = i + 1;
            const bool negated = first < p.size() && p[first] == U'!';
            first += negated ? 1 : 0;
            std::size_t close = first < p.size() && p[first] == U']' ? first + 1 : first;
            while (close < p.size() && p[close] != U']')
                ++close;
            if (close >= p.size()) {
                out.push_back({ Token::Literal, U'[', {} });
                ++i;
                continue;
            }
            Token t { negated ? Token::NotSet : Token::Set, 0, {} };
            for (std::size_t m = first; m < close;) {
                if (m + 2 < close && p[m + 1] == U'-') {
                    t.items.push_back({ foldOne(p[m]), foldOne(p[m + 2]), true });
                    m += 3;
                } else {
                    t.items.push_back({ foldOne(p[m]), 0, false });
                    ++m;
                }
            }
            out.push_back(t);
            i = close + 1;
        } else {
            out.push_back({ Token::Literal, foldOne(c), {} });
            ++i;
        }
    }
    return out;
}

bool inSet(const Token& t, char32_t c)
{
    for (const Item& item : t.items)
        if (item.range ? weightAtMost(item.lo, c) && weightAtMost(c, item.hi) : c == item.lo)
            return true;
    return false;
}

// Dynamic programming over (token, character): no backtracking to get wrong.
bool reference(const std::vector<Token>& tokens, const std::vector<char32_t>& text)
{
    const std::size_t n = text.size();
    std::vector<char> row(n + 1, 0), next(n + 1, 0);
    row[0] = 1;
    for (const Token& t : tokens) {
        std::fill(next.begin(), next.end(), 0);
        for (std::size_t j = 0; j <= n; ++j) {
            if (t.op == Token::Star) {
                next[j] = row[j] || (j > 0 && next[j - 1]);
                continue;
            }
            if (j == 0 || !row[j - 1])
                continue;
            const char32_t c = text[j - 1];
            bool ok = false;
            switch (t.op) {
            case Token::One:
                ok = true;
                break;
            case Token::Digit:
                ok = c >= U'0' && c <= U'9';
                break;
            case Token::Literal:
                ok = c == t.value;
                break;
            case Token::Set:
                ok = inSet(t, c);
                break;
            case Token::NotSet:
                ok = !inSet(t, c);
                break;
            case Token::Star:
                break;
            }
            next[j] = ok;
        }
        row.swap(next);
    }
    return row[n];
}

Database& connection()
{
    static Database db;
    if (!db.isOpen() && !db.openPlain(QStringLiteral(":memory:")))
        std::abort();
    return db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray in(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> parts = in.split('\0');
    // Quadratic reference: keep pieces short.
    if (parts.size() < 2 || parts[0].size() > 200 || parts[1].size() > 600)
        return 0;
    const QString pattern = TextRules::fromUtf8(parts[0].constData(), parts[0].size());
    const QString text = TextRules::fromUtf8(parts[1].constData(), parts[1].size());
    const QList<uint> esc = parts.size() > 2 ? QString::fromUtf8(parts[2]).toUcs4() : QList<uint>();
    const char32_t escape = esc.size() == 1 ? char32_t(esc[0]) : 0;

    const TextRules::LikePattern compiled(pattern, escape);
    const QByteArray utf8 = text.toUtf8();
    const bool fast = compiled.matches(utf8.constData(), int(utf8.size()));
    if (fast != compiled.matches(text))
        std::abort();
    if (fast != reference(parse(pattern, escape), folded(text)))
        std::abort();

    // Through the engine, as every search runs it.
    Database& db = connection();
    const auto viaSql = escape ? db.scalar("SELECT ?1 LIKE ?2 ESCAPE ?3;", { text, pattern, one(escape) })
                               : db.scalar("SELECT ?1 LIKE ?2;", { text, pattern });
    if (!viaSql || viaSql->toInt() != (fast ? 1 : 0))
        std::abort();
    if (!escape && TextRules::like(text, pattern) != fast)
        std::abort();
    return 0;
}
