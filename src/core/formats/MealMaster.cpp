#include "core/formats/MealMaster.h"

#include "core/formats/FileText.h"

#include <QList>

#include <algorithm>

namespace MealMaster {

namespace {

using PortableRecipes::fileError;
using PortableRecipes::recipeLabel;

enum class Frame { None, Mmmmm, Dashes };

Frame headerFrame(QByteArrayView line)
{
    const QByteArrayView t = line.trimmed();
    if (!t.startsWith("MMMMM") && !t.startsWith("-----"))
        return Frame::None;
    const QByteArray lower = t.toByteArray().toLower();
    if (!lower.contains("meal-master") && !lower.contains("recipe via"))
        return Frame::None;
    return t.startsWith('M') ? Frame::Mmmmm : Frame::Dashes;
}

// Each framing ends at its own line, so a line of five dashes in the
// directions of an "MMMMM" recipe is text.
bool isEnd(QByteArrayView line, Frame frame)
{
    return line.trimmed() == (frame == Frame::Mmmmm ? "MMMMM" : "-----");
}

struct HeaderField {
    QString key;
    QString value;
};

std::optional<HeaderField> headerField(const QString& line)
{
    const QString t = line.trimmed();
    const qsizetype colon = t.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QString key = t.left(colon).toLower();
    static const QStringList keys { QStringLiteral("title"), QStringLiteral("categories"),
        QStringLiteral("category"), QStringLiteral("yield"), QStringLiteral("servings"),
        QStringLiteral("serves") };
    if (!keys.contains(key))
        return std::nullopt;
    return HeaderField { key, t.mid(colon + 1).trimmed() };
}

// A line of dashes with a name in it ("MMMMM-----SÅS-----"): the name; an
// empty name for a bare separator.
std::optional<QString> heading(const QString& line)
{
    QString t = line.trimmed();
    if (t.startsWith(QLatin1String("MMMMM-")))
        t.remove(0, 5);
    else if (!t.startsWith(QLatin1String("-----")) || t.size() == 5)
        return std::nullopt; // "-----" alone is text here
    qsizetype a = 0;
    qsizetype b = t.size();
    while (a < b && t.at(a) == QLatin1Char('-'))
        ++a;
    while (b > a && t.at(b - 1) == QLatin1Char('-'))
        --b;
    return t.mid(a, b - a).trimmed();
}

struct Column {
    QString line;
    bool continuation = false;
};

// One ingredient in the fixed columns: amount in 1-7, unit in 9-10, text
// from 12; a text starting with "-" continues the ingredient above.
std::optional<Column> column(QStringView s)
{
    static const QStringList units { QStringLiteral("x"), QStringLiteral("sm"), QStringLiteral("md"),
        QStringLiteral("lg"), QStringLiteral("cn"), QStringLiteral("pk"), QStringLiteral("pn"),
        QStringLiteral("dr"), QStringLiteral("ds"), QStringLiteral("ct"), QStringLiteral("bn"),
        QStringLiteral("sl"), QStringLiteral("ea"), QStringLiteral("t"), QStringLiteral("ts"),
        QStringLiteral("T"), QStringLiteral("tb"), QStringLiteral("fl"), QStringLiteral("c"),
        QStringLiteral("pt"), QStringLiteral("qt"), QStringLiteral("ga"), QStringLiteral("oz"),
        QStringLiteral("lb"), QStringLiteral("ml"), QStringLiteral("cb"), QStringLiteral("cl"),
        QStringLiteral("dl"), QStringLiteral("l"), QStringLiteral("mg"), QStringLiteral("cg"),
        QStringLiteral("dg"), QStringLiteral("g"), QStringLiteral("kg") };
    if (s.size() < 12 || s.at(7) != QLatin1Char(' ') || s.at(10) != QLatin1Char(' '))
        return std::nullopt;
    const QStringView amount = s.left(7);
    for (const QChar c : amount)
        if (!c.isDigit() && !QStringView(u" /.,-").contains(c))
            return std::nullopt;
    const QString unit = s.mid(8, 2).trimmed().toString();
    const QString text = s.mid(11).trimmed().toString();
    if ((!unit.isEmpty() && !units.contains(unit)) || text.isEmpty())
        return std::nullopt;
    const QString a = amount.toString().simplified();
    if (a.isEmpty() && unit.isEmpty() && text.startsWith(QLatin1Char('-')))
        return Column { text.mid(1).trimmed(), true };
    QString joined = a;
    for (const QString& part : { unit, text })
        if (!part.isEmpty())
            joined += (joined.isEmpty() ? QString() : QStringLiteral(" ")) + part;
    return Column { joined, false };
}

// Ingredients in two columns are read down the left column, then down the
// right one, as they are printed; a blank line or heading ends both.
struct Ingredients {
    QStringList out;
    QStringList left;
    QStringList right;

    void flush()
    {
        out += left;
        out += right;
        left.clear();
        right.clear();
    }
    static void add(QStringList& to, const Column& c)
    {
        if (c.continuation && !to.isEmpty())
            to.last() += QLatin1Char(' ') + c.line;
        else if (!c.line.isEmpty())
            to.append(c.line);
    }
    bool take(const QString& line)
    {
        for (const qsizetype split : { 41, 40 }) {
            if (line.size() <= split + 11)
                break;
            const auto l = column(QStringView(line).left(split));
            const auto r = column(QStringView(line).mid(split));
            if (l && r) {
                add(left, *l);
                add(right, *r);
                return true;
            }
        }
        const auto c = column(line);
        if (c)
            add(left, *c);
        return c.has_value();
    }
};

bool isIngredientOrHeading(const QString& line)
{
    Ingredients probe;
    return probe.take(line) || heading(line).has_value();
}

// Lines kept, their common indentation and trailing spaces removed, runs of
// blank lines made one; headings become their names.
QString directions(const QStringList& lines, qsizetype from)
{
    QStringList kept;
    for (qsizetype i = from; i < lines.size(); ++i) {
        QString line = lines.at(i);
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        if (!line.isEmpty() || (!kept.isEmpty() && !kept.last().isEmpty()))
            kept.append(line);
    }
    while (!kept.isEmpty() && kept.last().isEmpty())
        kept.removeLast();
    qsizetype indent = -1;
    for (const QString& line : kept) {
        if (line.isEmpty() || heading(line))
            continue;
        qsizetype n = 0;
        while (n < line.size() && line.at(n).isSpace())
            ++n;
        indent = indent < 0 ? n : std::min(indent, n);
    }
    for (QString& line : kept) {
        if (const auto h = heading(line))
            line = *h;
        else
            line.remove(0, std::max<qsizetype>(indent, 0));
    }
    return kept.join(QStringLiteral("\r\n"));
}

qsizetype readHeader(const QStringList& lines, PortableRecipe& r)
{
    qsizetype i = 0;
    for (; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty())
            continue;
        const auto field = headerField(lines.at(i));
        if (!field)
            break;
        if (field->key == QLatin1String("title")) {
            r.title = field->value;
        } else if (field->key.startsWith(QLatin1String("categor"))) {
            for (const QString& c : field->value.split(QLatin1Char(',')))
                if (!c.trimmed().isEmpty() && !r.categories.contains(c.trimmed()))
                    r.categories.append(c.trimmed());
        } else {
            r.portions = field->value;
        }
    }
    return i;
}

PortableRecipe recipeOf(const QStringList& lines)
{
    PortableRecipe r;
    qsizetype i = readHeader(lines, r);
    Ingredients ing;
    for (; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.trimmed().isEmpty()) {
            ing.flush();
            continue;
        }
        if (const auto h = heading(line)) {
            // A heading above directions belongs to them.
            qsizetype next = i + 1;
            while (next < lines.size() && lines.at(next).trimmed().isEmpty())
                ++next;
            if (next < lines.size() && !isIngredientOrHeading(lines.at(next)))
                break;
            ing.flush();
            if (!h->isEmpty())
                ing.out.append(*h);
            continue;
        }
        if (!ing.take(line))
            break;
    }
    ing.flush();
    r.ingredients = ing.out.join(QStringLiteral("\r\n"));
    r.instructions = directions(lines, i);
    return r;
}

// The title a recipe's lines give, for messages about a damaged one.
QString peekTitle(const QList<QByteArray>& lines, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to && i < from + 20; ++i)
        if (const auto f = headerField(FileText::decodeDos(lines.at(i)));
            f && f->key == QLatin1String("title"))
            return f->value;
    return {};
}

QList<QByteArray> splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    return lines;
}

} // namespace

bool looksLike(const QByteArray& bytes)
{
    for (const QByteArray& line : splitLines(bytes))
        if (headerFrame(line) != Frame::None)
            return true;
    return false;
}

ReadResult read(const QByteArray& bytes, const ReadOptions& options, const QString& shown)
{
    const QList<QByteArray> lines = splitLines(bytes);
    ReadResult out;
    const auto fail = [&](int number, const QString& title, const QString& what) {
        return ReadResult { {}, fileError(shown, recipeLabel(number, title) + QStringLiteral(": ") + what) };
    };
    int number = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Frame frame = headerFrame(lines.at(i));
        if (frame == Frame::None)
            continue;
        if (++number > options.limits.recipes)
            return { {},
                fileError(
                    shown, QStringLiteral("filen har fler än %1 recept.").arg(options.limits.recipes)) };
        if (number % 256 == 0 && !PortableRecipes::keepGoing(options, i, lines.size()))
            return { {}, PortableRecipes::cancelled(shown) };
        qsizetype end = i + 1;
        while (
            end < lines.size() && !isEnd(lines.at(end), frame) && headerFrame(lines.at(end)) == Frame::None)
            ++end;
        if (end == lines.size() || !isEnd(lines.at(end), frame))
            return fail(number, peekTitle(lines, i + 1, end), QStringLiteral("slutraden saknas."));
        QByteArray body;
        for (qsizetype k = i + 1; k < end; ++k)
            body += lines.at(k) + '\n';
        PortableRecipe r = recipeOf(FileText::decodeDos(body).split(QLatin1Char('\n')));
        if (const QString e = PortableRecipes::check(r, options.limits); !e.isEmpty())
            return fail(number, r.title, e);
        r.origin = shown + QStringLiteral(", ") + recipeLabel(number, QString());
        out.recipes.append(r);
        i = end;
    }
    if (out.recipes.isEmpty())
        return { {}, fileError(shown, QStringLiteral("inget recept hittades.")) };
    return out;
}

} // namespace MealMaster
