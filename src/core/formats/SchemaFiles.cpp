#include "core/formats/SchemaFiles.h"

#include "core/formats/FileText.h"
#include "core/online/IsoDuration.h"
#include "core/online/SchemaRecipe.h"
#include "core/online/WebRecipe.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QStringDecoder>

namespace SchemaFiles {

namespace {

using PortableRecipes::fileError;
using PortableRecipes::recipeLabel;

const QLatin1String ExactKey("gastrid");

bool endsWithAny(const QString& name, std::initializer_list<const char*> suffixes)
{
    for (const char* s : suffixes)
        if (name.endsWith(QLatin1String(s), Qt::CaseInsensitive))
            return true;
    return false;
}

QStringList nonBlankLines(const QString& text)
{
    static const QRegularExpression ends(QStringLiteral("\r\n|\r|\n"));
    QStringList out;
    for (const QString& line : text.split(ends))
        if (!line.trimmed().isEmpty())
            out.append(line);
    return out;
}

// The ISO form of a time the cookbook wrote as the web import does
// ("1 tim 15 min"); nothing for any other text.
std::optional<QString> isoTime(const QString& time)
{
    static const QRegularExpression part(QStringLiteral("(\\d{1,6}) (dagar|dag|tim|min|sek)(?: |$)"));
    qint64 seconds = 0;
    qsizetype at = 0;
    while (at < time.size()) {
        const auto m = part.match(
            time, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch())
            return std::nullopt;
        const QString unit = m.captured(2);
        const qint64 n = m.captured(1).toLongLong();
        seconds += n
            * (unit.startsWith(QLatin1String("dag")) ? 86400
                    : unit == QLatin1String("tim")   ? 3600
                    : unit == QLatin1String("min")   ? 60
                                                     : 1);
        at = m.capturedEnd(0);
    }
    if (seconds == 0 || IsoDuration::swedish(seconds) != time)
        return std::nullopt;
    return IsoDuration::iso(seconds);
}

QJsonObject exactTexts(const PortableRecipe& r)
{
    return { { QStringLiteral("titel"), r.title },
        { QStringLiteral("kategorier"), QJsonArray::fromStringList(r.categories) },
        { QStringLiteral("portioner"), r.portions }, { QStringLiteral("tid"), r.time },
        { QStringLiteral("ingredienser"), r.ingredients },
        { QStringLiteral("anvisningar"), r.instructions } };
}

std::optional<PortableRecipe> fromExactTexts(const QJsonObject& o)
{
    PortableRecipe r;
    const std::pair<const char*, QString*> texts[] = { { "titel", &r.title }, { "portioner", &r.portions },
        { "tid", &r.time }, { "ingredienser", &r.ingredients }, { "anvisningar", &r.instructions } };
    for (const auto& [key, field] : texts) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isString() && !v.isUndefined())
            return std::nullopt;
        *field = v.toString();
    }
    const QJsonValue cats = o.value(QLatin1String("kategorier"));
    for (const QJsonValue& c : cats.toArray()) {
        if (!c.isString())
            return std::nullopt;
        r.categories.append(c.toString());
    }
    return r;
}

PortableRecipe fromStandard(const WebRecipe& w)
{
    PortableRecipe r;
    r.title = w.name;
    r.categories = w.categories;
    r.portions = w.yield;
    r.time = w.time;
    r.ingredients = w.ingredients.join(QStringLiteral("\r\n"));
    r.instructions = w.instructions.join(QStringLiteral("\r\n"));
    return r;
}

// What the page reader needs to decode a saved page: its own character set,
// or Windows-1252 when it names none and is no UTF-8.
QByteArray pageType(const QByteArray& page)
{
    if (FileText::isUtf8(page))
        return {};
    const QStringDecoder named = QStringDecoder::decoderForHtml(page);
    if (named.isValid() && QByteArray(named.name()).compare("UTF-8", Qt::CaseInsensitive) != 0)
        return {};
    return "text/html; charset=windows-1252";
}

struct Objects {
    QList<QJsonObject> list;
    QString error;
};

Objects objectsOf(const QString& name, const QByteArray& bytes, qsizetype max)
{
    if (!endsWithAny(name, { ".json", ".jsonld" }))
        return { WebRecipePage::recipeObjects(bytes, pageType(bytes), max), {} };
    const QJsonDocument doc = SchemaRecipe::parseJson(FileText::decode(bytes).toUtf8());
    if (doc.isNull())
        return { {}, QStringLiteral("\"%1\" är ingen giltig JSON.").arg(name) };
    const QJsonValue top = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    return { SchemaRecipe::findRecipes(top, max), {} };
}

// The picture a recipe of file `name` names, when it is one inside the set.
QString attachPicture(FileSet& set, const QString& name, const QJsonObject& o, PortableRecipe& r)
{
    const std::optional<QString> file
        = FileSets::resolve(name, SchemaRecipe::imageReference(o.value(QLatin1String("image"))));
    if (!file)
        return {};
    QString error;
    const std::optional<QByteArray> bytes = set.read(*file, &error);
    // A picture that is missing or of no known type leaves the recipe without one.
    if (bytes && !PortableRecipes::pictureTypeOf(*bytes).isEmpty()) {
        r.picture = *bytes;
        r.pictureType = PortableRecipes::pictureTypeOf(*bytes);
    }
    return error;
}

} // namespace

bool isRecipeFile(const QString& name)
{
    return endsWithAny(name, { ".json", ".jsonld", ".html", ".htm" });
}

bool isPictureFile(const QString& name)
{
    return endsWithAny(name, { ".jpg", ".jpeg", ".png", ".gif", ".bmp", ".webp" });
}

QJsonObject toJson(const PortableRecipe& r, const QString& pictureName)
{
    QJsonObject o { { QStringLiteral("@context"), QStringLiteral("https://schema.org") },
        { QStringLiteral("@type"), QStringLiteral("Recipe") }, { QStringLiteral("name"), r.title } };
    if (r.categories.size() == 1)
        o.insert(QStringLiteral("recipeCategory"), r.categories.front());
    else if (!r.categories.isEmpty())
        o.insert(QStringLiteral("recipeCategory"), QJsonArray::fromStringList(r.categories));
    if (!r.portions.isEmpty())
        o.insert(QStringLiteral("recipeYield"), r.portions);
    if (const std::optional<QString> iso = isoTime(r.time))
        o.insert(QStringLiteral("totalTime"), *iso);
    if (const QStringList lines = nonBlankLines(r.ingredients); !lines.isEmpty())
        o.insert(QStringLiteral("recipeIngredient"), QJsonArray::fromStringList(lines));
    QJsonArray steps;
    for (const QString& line : nonBlankLines(r.instructions))
        steps.append(QJsonObject {
            { QStringLiteral("@type"), QStringLiteral("HowToStep") }, { QStringLiteral("text"), line } });
    if (!steps.isEmpty())
        o.insert(QStringLiteral("recipeInstructions"), steps);
    if (!pictureName.isEmpty())
        o.insert(QStringLiteral("image"), pictureName);
    o.insert(ExactKey, exactTexts(r));
    return o;
}

std::optional<PortableRecipe> fromJson(const QJsonObject& o)
{
    std::optional<WebRecipe> standard = SchemaRecipe::fromJson(o, QUrl());
    if (standard)
        standard->image = QUrl();
    // The exact texts count while the standard fields still read as the
    // program wrote them; that includes a title that reads as no name at all
    // there (text that looks like markup), which would otherwise be lost.
    if (const std::optional<PortableRecipe> exact = fromExactTexts(o.value(ExactKey).toObject());
        exact && o.value(ExactKey).isObject() && !exact->title.trimmed().isEmpty()) {
        if (SchemaRecipe::fromJson(toJson(*exact, QString()), QUrl()) == standard)
            return exact;
    }
    if (!standard)
        return std::nullopt;
    return fromStandard(*standard);
}

ReadResult read(FileSet& set, const ReadOptions& options, const QString& shown)
{
    ReadResult out;
    const auto fail = [&](const QString& what) {
        out.recipes.clear();
        out.error = fileError(shown, what);
        return out;
    };
    qint64 done = 0;
    for (const QString& name : set.names()) {
        if (!isRecipeFile(name))
            continue;
        if (!PortableRecipes::keepGoing(options, done++, set.names().size()))
            return { {}, PortableRecipes::cancelled(shown) };
        QString error;
        const std::optional<QByteArray> bytes = set.read(name, &error);
        if (!bytes)
            return fail(error.isEmpty() ? QStringLiteral("\"%1\" kunde inte läsas.").arg(name) : error);
        const Objects objects = objectsOf(name, *bytes, qsizetype(options.limits.recipes) + 1);
        if (!objects.error.isEmpty())
            return fail(objects.error);
        for (int i = 0; i < objects.list.size(); ++i) {
            std::optional<PortableRecipe> r = fromJson(objects.list.at(i));
            const QString label = recipeLabel(i + 1, r ? r->title : QString());
            const QString where = name == shown ? label : QStringLiteral("\"%1\", %2").arg(name, label);
            if (!r)
                return fail(where + QStringLiteral(": receptet har inget namn."));
            if (const QString e = attachPicture(set, name, objects.list.at(i), *r); !e.isEmpty())
                return fail(where + QStringLiteral(": ") + e);
            if (const QString e = PortableRecipes::check(*r, options.limits); !e.isEmpty())
                return fail(where + QStringLiteral(": ") + e);
            if (out.recipes.size() >= options.limits.recipes)
                return fail(QStringLiteral("filen har fler än %1 recept.").arg(options.limits.recipes));
            r->origin = shown + QStringLiteral(", ") + where;
            out.recipes.append(*r);
        }
    }
    if (out.recipes.isEmpty())
        return fail(QStringLiteral("inget recept hittades."));
    return out;
}

} // namespace SchemaFiles
