#include "core/kitchen/Amounts.h"

#include <array>
#include <cmath>

namespace Amounts {

namespace {

constexpr double Eps = 1e-9;
constexpr int MaxDigits = 6;

struct Glyph {
    char16_t c;
    double value;
};
// Read all; the first six are written.
constexpr std::array<Glyph, 15> Glyphs { { { u'½', 1.0 / 2 }, { u'¼', 1.0 / 4 }, { u'¾', 3.0 / 4 },
    { u'⅓', 1.0 / 3 }, { u'⅔', 2.0 / 3 }, { u'⅛', 1.0 / 8 }, { u'⅜', 3.0 / 8 }, { u'⅝', 5.0 / 8 },
    { u'⅞', 7.0 / 8 }, { u'⅕', 1.0 / 5 }, { u'⅖', 2.0 / 5 }, { u'⅗', 3.0 / 5 }, { u'⅘', 4.0 / 5 },
    { u'⅙', 1.0 / 6 }, { u'⅚', 5.0 / 6 } } };
constexpr int WrittenGlyphs = 6;

// Longest first where one begins another.
const char16_t* const Approximately[]
    = { u"ca.", u"c:a", u"ca", u"cirka", u"ungefär", u"ung.", u"drygt", u"knappt", u"knapp", u"runt" };
// Words before an amount that leave it as it is ("ev. 1 dl grädde").
const char16_t* const Optionally[] = { u"ev.", u"eventuellt" };
// Words between the ends of a range ("1 à 2 dl").
const char16_t* const RangeWords[] = { u"à", u"till" };
// Numbers that are not amounts of an ingredient.
const char16_t* const NotAmounts[]
    = { u"grader", u"grad", u"°", u"minuter", u"minut", u"min", u"timmar", u"timme", u"tim", u"sekunder",
          u"sek", u"cm", u"mm", u"procent", u"%", u"personer", u"pers", u"dagar", u"dag" };

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u00a0' || c == u'\u202f';
}

bool isDigit(QStringView s, qsizetype i)
{
    return i < s.size() && s[i] >= u'0' && s[i] <= u'9';
}

bool isPoint(QStringView s, qsizetype i)
{
    return i < s.size() && (s[i] == u',' || s[i] == u'.');
}

double glyphAt(QStringView s, qsizetype i)
{
    if (i >= s.size())
        return 0;
    for (const Glyph& g : Glyphs)
        if (s[i] == QChar(g.c))
            return g.value;
    return 0;
}

qsizetype skipBlanks(QStringView s, qsizetype i)
{
    while (i < s.size() && isBlank(s[i]))
        ++i;
    return i;
}

// Reads up to `most` digits; false when there are none or more.
bool digits(QStringView s, qsizetype* i, int most, double* value)
{
    const qsizetype start = *i;
    double v = 0;
    while (isDigit(s, *i)) {
        v = v * 10 + (s[*i].unicode() - u'0');
        ++*i;
    }
    *value = v;
    return *i > start && *i - start <= most;
}

bool isSlash(QStringView s, qsizetype i)
{
    return i < s.size() && (s[i] == u'/' || s[i] == u'\u2044');
}

struct Number {
    double value = 0;
    qsizetype end = 0;
};

// "a/b" at i; b must not be 0.
std::optional<Number> simpleFraction(QStringView s, qsizetype i)
{
    double a = 0, b = 0;
    if (!digits(s, &i, MaxDigits, &a) || !isSlash(s, i))
        return std::nullopt;
    ++i;
    if (!digits(s, &i, 4, &b) || b == 0)
        return std::nullopt;
    return Number { a / b, i };
}

// "3", "2,5", "0.5", "½", "1½", "1 ½", "1/2", "1 1/2".
std::optional<Number> readNumber(QStringView s, qsizetype i)
{
    if (const double g = glyphAt(s, i))
        return Number { g, i + 1 };
    qsizetype j = i;
    double whole = 0;
    if (!digits(s, &j, MaxDigits, &whole))
        return std::nullopt;
    if (isPoint(s, j) && isDigit(s, j + 1)) {
        const qsizetype from = ++j;
        double decimals = 0;
        if (!digits(s, &j, MaxDigits, &decimals))
            return std::nullopt;
        return Number { whole + decimals / std::pow(10.0, double(j - from)), j };
    }
    if (isSlash(s, j) && isDigit(s, j + 1))
        return simpleFraction(s, i);
    if (const double g = glyphAt(s, j))
        return Number { whole + g, j + 1 };
    const qsizetype k = skipBlanks(s, j);
    if (k > j) {
        if (const double g = glyphAt(s, k))
            return Number { whole + g, k + 1 };
        if (const auto f = simpleFraction(s, k))
            return Number { whole + f->value, f->end };
    }
    return Number { whole, j };
}

// The length of a word from `words` at i, ignoring case. A word that ends in
// a letter must not go on in another letter or a digit ("min" is not "mint").
qsizetype wordAt(QStringView s, qsizetype i, const char16_t* const* words, std::size_t n)
{
    for (std::size_t w = 0; w < n; ++w) {
        const QStringView word(words[w]);
        if (!s.mid(i).startsWith(word, Qt::CaseInsensitive))
            continue;
        const qsizetype end = i + word.size();
        if (end == s.size() || !s[end].isLetterOrNumber() || !word.back().isLetter())
            return word.size();
    }
    return 0;
}

template <std::size_t N> qsizetype wordAt(QStringView s, qsizetype i, const char16_t* const (&words)[N])
{
    return wordAt(s, i, words, N);
}

} // namespace

namespace {

// After a word from `words` at i and the blanks after it, or i.
template <std::size_t N> qsizetype afterWord(QStringView line, qsizetype i, const char16_t* const (&words)[N])
{
    const qsizetype w = wordAt(line, i, words);
    const qsizetype after = skipBlanks(line, i + w);
    // "ca2" is no word; "c:a2" and "ca.2" are.
    if (w == 0 || (after == i + w && line[i + w - 1].isLetter()))
        return i;
    return after;
}

// Where a second number would start after the first ends at i: after a dash
// or a range word, or -1.
qsizetype secondNumber(QStringView line, qsizetype i)
{
    const qsizetype at = skipBlanks(line, i);
    if (at < line.size() && (line[at] == u'-' || line[at] == u'–' || line[at] == u'—'))
        return skipBlanks(line, at + 1);
    if (at == i)
        return -1;
    const qsizetype after = afterWord(line, at, RangeWords);
    return after > at ? after : -1;
}

} // namespace

qsizetype numberStart(QStringView line, bool* approximate)
{
    const qsizetype i = afterWord(line, skipBlanks(line, 0), Optionally);
    const qsizetype after = afterWord(line, i, Approximately);
    *approximate = after > i;
    return after;
}

std::optional<Reading> read(QStringView line)
{
    Reading r;
    const qsizetype i = numberStart(line, &r.approximate);
    const auto a = readNumber(line, i);
    if (!a || a->value <= 0)
        return std::nullopt;
    r.numberBegin = i;
    r.low = r.high = a->value;
    r.numberEnd = a->end;
    if (const qsizetype from = secondNumber(line, a->end); from >= 0) {
        if (const auto b = readNumber(line, from); b && b->value > 0) {
            r.range = true;
            r.high = b->value;
            r.dash = line.mid(a->end, from - a->end).toString();
            r.numberEnd = b->end;
        }
    }
    const qsizetype after = r.numberEnd;
    // "1,5,5", "1/2/3", "1 000": not one amount.
    if (isDigit(line, after) || ((isPoint(line, after) || isSlash(line, after)) && isDigit(line, after + 1)))
        return std::nullopt;
    const qsizetype word = skipBlanks(line, after);
    if (isDigit(line, word) || glyphAt(line, word) || wordAt(line, word, NotAmounts))
        return std::nullopt;
    r.unitBegin = r.unitEnd = after;
    if (const Units::Found u = Units::find(line.mid(word)); u.unit >= 0) {
        r.unit = u.unit;
        r.style = u.style;
        r.unitBegin = word;
        r.unitEnd = word + u.length;
    } else {
        // A bare number, or one before punctuation only, names nothing.
        bool named = false;
        for (qsizetype k = word; k < line.size() && !named; ++k)
            named = line[k].isLetter();
        if (!named)
            return std::nullopt;
    }
    return r;
}

namespace {

double nearest(double v, double step)
{
    return std::round(v / step) * step;
}

bool onStep(double v, double step)
{
    return std::abs(v / step - std::round(v / step)) < 1e-6;
}

double snapFractions(double v, bool halves)
{
    if (v >= 10)
        return std::max(1.0, std::round(v));
    if (v >= 5 || halves)
        return std::max(0.5, nearest(v, 0.5));
    const double whole = std::floor(v);
    double best = whole;
    for (double part : { 1.0 / 4, 1.0 / 3, 1.0 / 2, 2.0 / 3, 3.0 / 4, 1.0 })
        if (std::abs(whole + part - v) <= std::abs(best - v) + Eps)
            best = whole + part;
    return std::max(best, 1.0 / 4);
}

double snapDecimals(double v)
{
    if (onStep(v, 0.01))
        return std::max(0.01, nearest(v, 0.01));
    if (v < 10)
        return std::max(0.1, nearest(v, 0.1));
    return v < 100 ? nearest(v, 0.5) : std::round(v);
}

double snapWhole(double v)
{
    if (onStep(v, 1))
        return std::max(1.0, std::round(v));
    if (v < 10)
        return snapDecimals(v);
    if (v < 20)
        return std::round(v);
    return v < 100 ? nearest(v, 5) : nearest(v, 10);
}

double snapPieces(double v)
{
    if (v < 0.5)
        return v < 0.375 ? 0.25 : 0.5;
    return v < 3 ? nearest(v, 0.5) : std::round(v);
}

double snap(int unit, double v)
{
    if (unit < 0)
        return snapPieces(v);
    const Units::Unit& u = Units::unit(unit);
    switch (u.grid) {
    case Units::Grid::Fractions:
        return snapFractions(v, u.halves);
    case Units::Grid::Decimals:
        return snapDecimals(v);
    case Units::Grid::Whole:
        return snapWhole(v);
    case Units::Grid::Pieces:
        break;
    }
    return snapPieces(v);
}

void move(Settled* s, int to)
{
    const double f = Units::unit(s->unit).base / Units::unit(to).base;
    s->low *= f;
    s->high *= f;
    s->unit = to;
}

// Into the smaller unit when even the larger end is too small for this one,
// into the larger when even the smaller end is too large: a range keeps its
// unit while one of its ends fits ("2-4 tsk").
void climb(Settled* s)
{
    for (int step = 0; step < 8; ++step) {
        const Units::Unit& u = Units::unit(s->unit);
        if (s->high < u.low && u.smaller >= 0)
            move(s, u.smaller);
        else if (s->low >= u.high && u.larger >= 0)
            move(s, u.larger);
        else
            return;
    }
}

} // namespace

Settled settle(int unit, double low, double high)
{
    Settled s { unit, low, high };
    if (unit >= 0 && Units::unit(unit).measure != Units::Measure::Count)
        climb(&s);
    s.low = snap(s.unit, s.low);
    s.high = snap(s.unit, s.high);
    // Rounding up may reach the next unit: 2,9 tsk is 3 tsk, so 1 msk.
    if (s.unit >= 0 && s.low >= Units::unit(s.unit).high && Units::unit(s.unit).larger >= 0) {
        move(&s, Units::unit(s.unit).larger);
        s.low = snap(s.unit, s.low);
        s.high = snap(s.unit, s.high);
    }
    return s;
}

QString writeNumber(double value, bool fractions)
{
    const double rounded = std::round(value);
    if (std::abs(value - rounded) < Eps && std::abs(value) < 1e15)
        return QString::number(qint64(rounded));
    if (fractions) {
        const double whole = std::floor(value + Eps);
        for (int g = 0; g < WrittenGlyphs; ++g) {
            if (std::abs(value - whole - Glyphs[std::size_t(g)].value) >= Eps)
                continue;
            const QChar glyph(Glyphs[std::size_t(g)].c);
            return whole > 0 ? QString::number(qint64(whole)) + u' ' + glyph : QString(glyph);
        }
    }
    QString text = QString::number(value, 'f', MaxDigits);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    text.replace(u'.', u',');
    return text;
}

namespace {

bool writesFractions(int unit)
{
    if (unit < 0)
        return true;
    const Units::Grid g = Units::unit(unit).grid;
    return g == Units::Grid::Fractions || g == Units::Grid::Pieces;
}

// Both ends when the line wrote a range: what follows was read after one.
QString writeRange(const Settled& a, const QString& dash, bool range)
{
    const bool fractions = writesFractions(a.unit);
    if (!range && std::abs(a.low - a.high) < Eps)
        return writeNumber(a.high, fractions);
    return writeNumber(a.low, fractions) + dash + writeNumber(a.high, fractions);
}

// The unit as the line wrote it while its form still fits ("L", "Msk"), the
// word for the new number ("1 burk", "2 burkar"), or a new unit abbreviated.
QString unitText(QStringView line, const Reading& reading, const Settled& amount)
{
    if (amount.unit != reading.unit)
        return Units::written(amount.unit, Units::Style::Abbreviation, amount.high);
    const QString now = Units::written(amount.unit, reading.style, amount.high);
    if (now == Units::written(reading.unit, reading.style, reading.high))
        return line.mid(reading.unitBegin, reading.unitEnd - reading.unitBegin).toString();
    return now;
}

} // namespace

QString writeAmount(const Settled& amount, Units::Style style, const QString& dash)
{
    const QString number = writeRange(amount, dash, false);
    if (amount.unit < 0)
        return number;
    return number + u' ' + Units::written(amount.unit, style, amount.high);
}

QString rewrite(QStringView line, const Reading& reading, const Settled& amount)
{
    QString out = line.left(reading.numberBegin).toString();
    out += writeRange(amount, reading.dash, reading.range);
    out += line.mid(reading.numberEnd, reading.unitBegin - reading.numberEnd);
    if (reading.unit >= 0)
        out += unitText(line, reading, amount);
    out += line.mid(reading.unitEnd);
    return out;
}

double inBase(int unit, double value)
{
    return unit < 0 ? value : value * Units::unit(unit).base;
}

} // namespace Amounts
