#include "core/kitchen/Portions.h"

#include "core/kitchen/Amounts.h"

namespace Portions {

namespace {

bool isDigit(const QString& s, qsizetype i)
{
    return i < s.size() && s.at(i) >= u'0' && s.at(i) <= u'9';
}

bool isOneOf(const QString& s, qsizetype i, QStringView chars)
{
    return i < s.size() && chars.contains(s.at(i));
}

qsizetype skipBlanks(const QString& s, qsizetype i)
{
    while (isOneOf(s, i, u" \t\u00a0"))
        ++i;
    return i;
}

qsizetype skipDigits(const QString& s, qsizetype i)
{
    while (isDigit(s, i))
        ++i;
    return i;
}

// A fraction goes on at i: "2,5", "1/2", "2½", "2 ½", "2 1/2".
bool fractionAt(const QString& s, qsizetype i)
{
    if (isOneOf(s, i, u",./\u2044") && isDigit(s, i + 1))
        return true;
    const qsizetype j = skipBlanks(s, i);
    if (j < s.size() && s.at(j).category() == QChar::Number_Other)
        return true;
    return j > i && isDigit(s, j) && isOneOf(s, skipDigits(s, j), u"/\u2044");
}

// [begin, end) of the leading whole number of portions and of a range after
// it ("4-6", "4 – 6"); false when there is none.
bool numberSpan(const QString& text, qsizetype* begin, qsizetype* end, int* value)
{
    bool approximate = false;
    qsizetype i = Amounts::numberStart(text, &approximate);
    *begin = i;
    int v = 0;
    while (isDigit(text, i) && v <= Most)
        v = v * 10 + (text.at(i++).unicode() - u'0');
    if (i == *begin || v < Fewest || v > Most || isDigit(text, i) || fractionAt(text, i))
        return false;
    *value = v;
    *end = i;
    const qsizetype dash = skipBlanks(text, i);
    if (isOneOf(text, dash, u"-\u2013\u2014")) {
        const qsizetype next = skipBlanks(text, dash + 1);
        if (isDigit(text, next))
            *end = skipDigits(text, next);
    }
    return true;
}

} // namespace

std::optional<int> portionsOf(const QString& antalPersoner)
{
    qsizetype begin = 0, end = 0;
    int value = 0;
    if (!numberSpan(antalPersoner, &begin, &end, &value))
        return std::nullopt;
    return value;
}

QString portionsText(const QString& antalPersoner, int to)
{
    qsizetype begin = 0, end = 0;
    int value = 0;
    if (!numberSpan(antalPersoner, &begin, &end, &value))
        return antalPersoner;
    return antalPersoner.left(begin) + QString::number(to) + antalPersoner.mid(end);
}

QString scaleLine(const QString& line, int from, int to)
{
    if (from <= 0 || to <= 0 || from == to)
        return line;
    const auto reading = Amounts::read(line);
    if (!reading)
        return line;
    const double factor = double(to) / double(from);
    const Amounts::Settled scaled
        = Amounts::settle(reading->unit, reading->low * factor, reading->high * factor);
    // Too large to write back as an amount: the line as it was.
    if (scaled.high >= Amounts::Largest)
        return line;
    return Amounts::rewrite(line, *reading, scaled);
}

QString scaleText(const QString& text, int from, int to)
{
    if (from <= 0 || to <= 0 || from == to)
        return text;
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text.at(end) != u'\n' && text.at(end) != u'\r')
            ++end;
        out += scaleLine(text.mid(start, end - start), from, to);
        if (end == text.size())
            break;
        const qsizetype next = text.mid(end, 2) == QLatin1String("\r\n") ? end + 2 : end + 1;
        out += text.mid(end, next - end);
        start = next;
    }
    return out;
}

} // namespace Portions
