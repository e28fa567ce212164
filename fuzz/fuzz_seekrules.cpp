// The two ingredient searches: the rules as built (folded entries with the
// covered ones dropped, byte-wise blank and number scan on UTF-8) agree with
// a plain reading of the rules on QString, and the UTF-8 and QString entry
// points agree; the near-miss rule names the first line that the can-be-cooked
// rule needs added. Input: entries one a line, NUL, ingredient text.
#include "core/db/TextRules.h"
#include "core/search/SeekRules.h"

#include <QRegularExpression>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

QString fold(const QString& s)
{
    const std::string f = TextRules::foldUtf8(s);
    return TextRules::fromUtf8(f.data(), qsizetype(f.size()));
}

bool anyReference(const QStringList& entries, const QString& text)
{
    if (text.isEmpty())
        return false;
    const QString t = fold(text);
    for (const QString& e : entries)
        if (t.contains(fold(e)))
            return true;
    return false;
}

bool cookableReference(const QStringList& entries, const QString& text)
{
    if (text.isEmpty())
        return false;
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)?$"));
    const QStringList always { fold(QStringLiteral("ugn")), fold(QStringLiteral("garnering")),
        fold(QStringLiteral("sås")), fold(QStringLiteral("redning")) };
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        line = fold(line);
        QString bare;
        for (const QChar c : line)
            if (!c.isSpace())
                bare += c;
        if (bare.isEmpty() || number.match(bare).hasMatch())
            continue;
        if (line.contains(u':') && !line.contains(QStringLiteral("c:a")))
            continue;
        bool accounted = false;
        for (const QString& w : always)
            accounted = accounted || line.contains(w);
        for (const QString& e : entries)
            accounted = accounted || line.contains(fold(e));
        if (!accounted)
            return false;
    }
    return true;
}

bool counted(const QString& line)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)?$"));
    QString bare;
    for (const QChar c : line)
        if (!c.isSpace())
            bare += c;
    return !bare.isEmpty() && !number.match(bare).hasMatch();
}

// The first counted line that, added to the entries, makes a rejected text
// cookable; -1 when there is none.
int missingReference(const QStringList& entries, const QString& text)
{
    if (cookableReference(entries, text))
        return -1;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        // A text ending in LF has no empty line after it.
        if (i == lines.size() - 1 && line.isEmpty())
            break;
        if (counted(line) && cookableReference(entries + QStringList { line }, text))
            return i;
    }
    return -1;
}

template <class Rule> bool checked(const Rule& rule, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const bool hit = rule.matches(utf8.constData(), int(utf8.size()));
    if (hit != rule.matches(text))
        std::abort();
    return hit;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray in(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype nul = in.indexOf('\0');
    if (nul < 0)
        return 0;
    const QStringList entries = TextRules::fromUtf8(in.constData(), nul).split(u'\n');
    // As stored: valid UTF-8, whatever the bytes were.
    const QString text = TextRules::fromUtf8(in.constData() + nul + 1, in.size() - nul - 1);
    if (checked(SeekRules::AnyIngredient(entries), text) != anyReference(entries, text))
        std::abort();
    if (checked(SeekRules::Cookable(entries), text) != cookableReference(entries, text))
        std::abort();
    const SeekRules::MissingOne missing(entries);
    const QByteArray utf8 = text.toUtf8();
    const int line = missing.missingLine(utf8.constData(), int(utf8.size()));
    if (line != missing.missingLine(text) || line != missingReference(entries, text))
        std::abort();
    return 0;
}
