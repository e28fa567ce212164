#include "core/formats/Paprika.h"

#include "core/formats/FileText.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace Paprika {

namespace {

using PortableRecipes::fileError;
using PortableRecipes::recipeLabel;

QString text(const QJsonObject& o, const char* key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isDouble())
        return QString::number(v.toDouble());
    return v.toString();
}

// A multi-line text with the cookbook's line ends, without blank space
// around it.
QString block(const QString& t)
{
    return PortableRecipes::crlf(t).trimmed();
}

QString timeOf(const QJsonObject& o)
{
    const QString total = text(o, "total_time").trimmed();
    if (!total.isEmpty())
        return total;
    QStringList parts;
    for (const char* key : { "prep_time", "cook_time" })
        if (const QString t = text(o, key).trimmed(); !t.isEmpty())
            parts.append(t);
    return parts.join(QStringLiteral(" + "));
}

QByteArray pictureOf(const QJsonObject& o)
{
    QString data = text(o, "photo_data");
    if (data.isEmpty())
        data = o.value(QLatin1String("photos"))
                   .toArray()
                   .at(0)
                   .toObject()
                   .value(QLatin1String("data"))
                   .toString();
    data.removeIf([](QChar c) { return c.isSpace(); });
    const auto decoded
        = QByteArray::fromBase64Encoding(data.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

// JSON is UTF-8; other text is taken by content as everywhere.
QJsonDocument parse(const QByteArray& bytes)
{
    QJsonParseError e;
    return QJsonDocument::fromJson(FileText::isUtf8(bytes) ? bytes : FileText::decode(bytes).toUtf8(), &e);
}

} // namespace

bool isRecipeEntry(const QString& name)
{
    return name.endsWith(QLatin1String(".paprikarecipe"), Qt::CaseInsensitive);
}

std::optional<PortableRecipe> fromJson(const QJsonObject& o)
{
    PortableRecipe r;
    r.title = text(o, "name")
                  .replace(QLatin1Char('\r'), QLatin1Char(' '))
                  .replace(QLatin1Char('\n'), QLatin1Char(' '))
                  .trimmed();
    if (r.title.isEmpty())
        return std::nullopt;
    for (const QJsonValue& c : o.value(QLatin1String("categories")).toArray())
        if (const QString name = c.toString().trimmed(); !name.isEmpty() && !r.categories.contains(name))
            r.categories.append(name);
    r.portions = text(o, "servings").trimmed();
    r.time = timeOf(o);
    r.ingredients = block(text(o, "ingredients"));
    r.instructions = block(text(o, "directions"));
    // The cookbook has no field for notes; they follow the directions.
    if (const QString notes = block(text(o, "notes")); !notes.isEmpty())
        r.instructions += (r.instructions.isEmpty() ? QString() : QStringLiteral("\r\n\r\n")) + notes;
    r.picture = pictureOf(o);
    r.pictureType = PortableRecipes::pictureTypeOf(r.picture);
    if (r.pictureType.isEmpty())
        r.picture.clear();
    return r;
}

ReadResult read(FileSet& set, const ReadOptions& options, const QString& shown)
{
    ReadResult out;
    const auto fail = [&](const QString& what) { return ReadResult { {}, fileError(shown, what) }; };
    int number = 0;
    for (const QString& name : set.names()) {
        if (!isRecipeEntry(name))
            continue;
        if (!PortableRecipes::keepGoing(options, number, set.names().size()))
            return { {}, PortableRecipes::cancelled(shown) };
        if (++number > options.limits.recipes)
            return fail(QStringLiteral("filen har fler än %1 recept.").arg(options.limits.recipes));
        QString error;
        std::optional<QByteArray> bytes = set.read(name, &error);
        if (bytes && bytes->startsWith("\x1F\x8B"))
            bytes = FileSets::gunzip(*bytes, options.limits.entryBytes, &error);
        const QJsonDocument doc = bytes ? parse(*bytes) : QJsonDocument();
        const QString where = QStringLiteral("\"%1\", ").arg(name);
        if (!bytes)
            return fail(where + recipeLabel(number, QString()) + QStringLiteral(": ") + error);
        if (!doc.isObject())
            return fail(where + recipeLabel(number, QString()) + QStringLiteral(": ingen giltig JSON."));
        std::optional<PortableRecipe> r = fromJson(doc.object());
        if (!r)
            return fail(
                where + recipeLabel(number, QString()) + QStringLiteral(": receptet har inget namn."));
        if (const QString e = PortableRecipes::check(*r, options.limits); !e.isEmpty())
            return fail(where + recipeLabel(number, r->title) + QStringLiteral(": ") + e);
        r->origin = shown + QStringLiteral(", ") + where + recipeLabel(number, QString());
        out.recipes.append(*r);
    }
    if (out.recipes.isEmpty())
        return fail(QStringLiteral("inget recept hittades."));
    return out;
}

} // namespace Paprika
