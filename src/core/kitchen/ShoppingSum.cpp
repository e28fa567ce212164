#include "core/kitchen/ShoppingSum.h"

#include "core/kitchen/Amounts.h"

#include <QHash>

#include <algorithm>
#include <numeric>
#include <vector>

namespace ShoppingSum {

namespace {

// What follows the amount and unit, from its first letter or digit on.
QString tailOf(QStringView line, const Amounts::Reading& r)
{
    QStringView tail = line.mid(r.unitEnd);
    while (!tail.isEmpty() && !tail.front().isLetterOrNumber() && tail.front() != u'(')
        tail = tail.mid(1);
    return tail.toString().simplified();
}

// The ingredient as the line writes it: after the amount, without notes.
QString nameOf(QStringView line)
{
    QStringView tail = line;
    if (const auto r = Amounts::read(line))
        tail = line.mid(r->unitEnd);
    QString words;
    int depth = 0;
    for (const QChar c : tail) {
        if (c == u',' && depth == 0)
            break;
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        else if (depth == 0)
            words += c;
    }
    words = words.simplified();
    qsizetype first = 0;
    while (first < words.size() && !words.at(first).isLetterOrNumber())
        ++first;
    return words.mid(first);
}

struct Group {
    QString key;
    Units::Measure measure = Units::Measure::Count;
    std::vector<double> lows, highs; // in ml, g or pieces
    QList<Amounts::Reading> readings;
    QStringList lines;
    QStringList tails;
};

// Groups add up within one measure; pieces only with the same unit, "st"
// being no unit at all.
QString groupKey(const QString& key, const Amounts::Reading& r)
{
    QString kind = QStringLiteral("st");
    if (r.unit >= 0 && r.unit != Units::byName(u"st")) {
        const Units::Unit& u = Units::unit(r.unit);
        kind = u.measure == Units::Measure::Count ? QString::fromUtf16(u.singular)
            : u.measure == Units::Measure::Volume ? QStringLiteral("ml")
                                                  : QStringLiteral("g");
    }
    return key + QChar(0x1f) + kind;
}

// Summed smallest first, so the order of the lines cannot change the sum.
double total(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return std::accumulate(values.begin(), values.end(), 0.0);
}

int unitOf(const Group& g)
{
    int best = g.readings.first().unit;
    for (const Amounts::Reading& r : g.readings) {
        if (g.measure == Units::Measure::Count) {
            // "2 st ägg" and "3 ägg" give "5 st ägg".
            best = std::max(best, r.unit);
            continue;
        }
        const double base = Units::unit(r.unit).base, bestBase = Units::unit(best).base;
        if (base > bestBase || (base == bestBase && r.unit < best))
            best = r.unit;
    }
    return best;
}

// The words after the amount: the lines' own when they agree but for case
// and blanks, else the ingredient alone. The smallest text of equals, so the
// order of the lines does not choose.
QString wordsOf(const Group& g)
{
    QStringList words = g.tails;
    for (const QString& t : std::as_const(g.tails)) {
        if (t.compare(g.tails.first(), Qt::CaseInsensitive) != 0) {
            words.clear();
            for (const QString& line : g.lines)
                words << nameOf(line);
            break;
        }
    }
    std::sort(words.begin(), words.end());
    return words.first();
}

QString written(const Group& g)
{
    const int unit = unitOf(g);
    const double base = unit < 0 ? 1 : Units::unit(unit).base;
    const Amounts::Settled s = Amounts::settle(unit, total(g.lows) / base, total(g.highs) / base);
    Units::Style style = Units::Style::Abbreviation;
    bool approximate = false;
    for (const Amounts::Reading& r : g.readings) {
        if (g.measure == Units::Measure::Count && r.style == Units::Style::Word)
            style = Units::Style::Word;
        approximate = approximate || r.approximate;
    }
    const QString amount = Amounts::writeAmount(s, style);
    return (approximate ? QStringLiteral("ca ") : QString()) + amount + u' ' + wordsOf(g);
}

} // namespace

QString ingredientKey(QStringView line)
{
    return nameOf(line).toLower();
}

QList<Line> sum(const QList<QStringList>& recipes)
{
    // In order of appearance: a group's index, or -1 - the index of a line kept as written.
    QList<qsizetype> order;
    QList<Line> kept;
    QList<Group> groups;
    QHash<QString, qsizetype> byKey;
    for (const QStringList& recipe : recipes) {
        for (const QString& raw : recipe) {
            const QString line = raw.trimmed();
            if (line.isEmpty())
                continue;
            const auto r = Amounts::read(line);
            const QString key = ingredientKey(line);
            if (!r || key.isEmpty()) {
                order << -1 - kept.size();
                kept << Line { line, key, 1 };
                continue;
            }
            const QString gk = groupKey(key, *r);
            auto at = byKey.find(gk);
            if (at == byKey.end()) {
                at = byKey.insert(gk, groups.size());
                order << groups.size();
                Group g;
                g.key = key;
                g.measure = r->unit < 0 ? Units::Measure::Count : Units::unit(r->unit).measure;
                groups << g;
            }
            Group& g = groups[*at];
            g.lows.push_back(Amounts::inBase(r->unit, r->low));
            g.highs.push_back(Amounts::inBase(r->unit, r->high));
            g.readings << *r;
            g.lines << line;
            g.tails << tailOf(line, *r);
        }
    }
    QList<Line> out;
    for (const qsizetype i : std::as_const(order)) {
        if (i < 0) {
            out << kept.at(-1 - i);
            continue;
        }
        const Group& g = groups.at(i);
        out << Line { g.lines.size() == 1 ? g.lines.first() : written(g), g.key, int(g.lines.size()) };
    }
    return out;
}

} // namespace ShoppingSum
