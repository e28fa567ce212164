#include "core/formats/TaggedFiles.h"

#include "core/exchange/ReceptImport.h"
#include "core/formats/FileText.h"
#include "core/text/TextFile.h"

#include <QHash>

namespace TaggedFiles {

namespace {

// Windows-1252's characters and their bytes.
const QHash<char32_t, char>& windows1252()
{
    static const QHash<char32_t, char> table = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = TextFile::fromWindows1252(all);
        QHash<char32_t, char> t;
        for (int i = 0; i < 256; ++i)
            t.insert(text.at(i).unicode(), char(i));
        return t;
    }();
    return table;
}

bool isMarkupStart(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('/');
}

QString reference(char32_t c)
{
    return QStringLiteral("&#%1;").arg(quint32(c));
}

void appendBlock(QString& out, const PortableRecipe& r)
{
    auto element = [&](const char* name, const QString& value) {
        const QString tag = QLatin1String(name);
        out += QLatin1Char('<') + tag + QLatin1Char('>') + escape(value) + QStringLiteral("</") + tag
            + QStringLiteral(">\r\n");
    };
    element("titel", r.title);
    out += QStringLiteral("<kategori>%1</kategori>\r\n").arg(r.categoryNumber.value_or(0));
    if (!r.categories.isEmpty())
        element("kategorinamn", r.categories.front());
    element("portioner", r.portions);
    element("tid", r.time);
    element("ingredienser", r.ingredients);
    element("anvisningar", r.instructions);
}

PortableRecipe recipeOf(const ReceptImport::Block& b)
{
    PortableRecipe r;
    r.title = unescape(b.titel);
    r.categoryNumber = b.kategori.trimmed().toInt();
    if (!b.kategorinamn.isEmpty())
        r.categories = QStringList { unescape(b.kategorinamn) };
    r.portions = unescape(b.portioner);
    r.time = unescape(b.tid);
    r.ingredients = unescape(b.ingredienser);
    r.instructions = unescape(b.anvisningar);
    return r;
}

} // namespace

QString escape(const QString& text)
{
    const auto& table = windows1252();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (c == QLatin1Char('&') && next == QLatin1Char('#'))
            out += reference(U'&');
        else if (c == QLatin1Char('<') && isMarkupStart(next))
            out += reference(U'<');
        else if (table.contains(c.unicode()))
            out += c;
        else if (c.isHighSurrogate() && next.isLowSurrogate())
            out += reference(QChar::surrogateToUcs4(c, text.at(++i)));
        else
            out += reference(c.isSurrogate() ? char32_t(QChar::ReplacementCharacter) : char32_t(c.unicode()));
    }
    return out;
}

QString unescape(const QString& text)
{
    const auto& table = windows1252();
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype at = text.indexOf(QLatin1String("&#"), i);
        if (at < 0)
            break;
        out += QStringView(text).mid(i, at - i);
        qsizetype end = at + 2;
        while (end < text.size() && end - at < 10 && text.at(end).isDigit())
            ++end;
        const bool closed = end > at + 2 && end < text.size() && text.at(end) == QLatin1Char(';');
        const quint32 n = closed ? QStringView(text).mid(at + 2, end - at - 2).toUInt() : 0;
        const bool ours = n == U'&' || n == U'<'
            || (n > 0 && n <= 0x10FFFF && !QChar::isSurrogate(n) && !table.contains(n));
        if (closed && ours) {
            out += QStringView(QChar::fromUcs4(n)); // fromUcs4 of a QString would drop a U+FEFF
            i = end + 1;
        } else {
            out += QStringView(text).mid(at, 2);
            i = at + 2;
        }
    }
    out += QStringView(text).mid(i);
    return out;
}

bool looksLike(const QByteArray& bytes)
{
    return bytes.contains("<titel>");
}

QByteArray bytes(const QList<PortableRecipe>& recipes)
{
    QString text;
    for (const PortableRecipe& r : recipes)
        appendBlock(text, r);
    const auto& table = windows1252();
    QByteArray out(text.size(), Qt::Uninitialized);
    bool high = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        out[i] = table.value(text.at(i).unicode(), '?');
        high = high || uchar(out.at(i)) >= 0x80;
    }
    // Reading takes valid UTF-8 as UTF-8. Windows-1252 text seldom is, but
    // when it happens, a line holding one no-break space (between blocks,
    // where text is passed over) keeps the file from reading as such.
    if (high && FileText::isUtf8(out))
        out += "\xA0\r\n";
    return out;
}

ReadResult read(const QByteArray& bytes, const ReadOptions& options, const QString& shown)
{
    const ReceptImport::Parsed parsed = ReceptImport::parse(FileText::decode(bytes));
    if (!parsed.error.isEmpty()) {
        QString what = parsed.error;
        what[0] = what.at(0).toLower();
        return { {}, PortableRecipes::fileError(shown, what) };
    }
    if (parsed.blocks.size() > options.limits.recipes)
        return { {},
            PortableRecipes::fileError(
                shown, QStringLiteral("filen har fler än %1 recept.").arg(options.limits.recipes)) };
    ReadResult out;
    for (int i = 0; i < parsed.blocks.size(); ++i) {
        PortableRecipe r = recipeOf(parsed.blocks.at(i));
        if (const QString e = PortableRecipes::check(r, options.limits); !e.isEmpty())
            return { {},
                PortableRecipes::fileError(
                    shown, PortableRecipes::recipeLabel(i + 1, r.title) + QStringLiteral(": ") + e) };
        r.origin = shown + QStringLiteral(", ") + PortableRecipes::recipeLabel(i + 1, QString());
        out.recipes.append(r);
    }
    if (out.recipes.isEmpty())
        return { {}, PortableRecipes::fileError(shown, QStringLiteral("inget recept hittades.")) };
    return out;
}

} // namespace TaggedFiles
