#include "core/online/SchemaRecipe.h"

#include "core/online/HtmlText.h"
#include "core/online/IsoDuration.h"

#include <QHash>
#include <QJsonArray>
#include <QRegularExpression>

#include <vector>

namespace SchemaRecipe {

namespace {

using HtmlText::cleanLines;
using HtmlText::cleanText;

// The first text a JSON value holds: a string, a number, the first such
// element of an array, or the value or name of an object.
QString textValue(const QJsonValue& v, int depth = 0)
{
    if (v.isString())
        return v.toString();
    if (v.isDouble())
        return QString::number(v.toDouble());
    if (depth > MaxDepth)
        return {};
    if (v.isArray()) {
        for (const QJsonValue& e : v.toArray()) {
            const QString t = textValue(e, depth + 1);
            if (!cleanText(t).isEmpty())
                return t;
        }
        return {};
    }
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (const char* key : { "@value", "value", "name", "text" })
            if (o.contains(QLatin1String(key)))
                return textValue(o.value(QLatin1String(key)), depth + 1);
    }
    return {};
}

bool hasType(const QJsonObject& o, QLatin1String type)
{
    const QJsonValue t = o.value(QLatin1String("@type"));
    const QJsonArray types = t.isArray() ? t.toArray() : QJsonArray { t };
    for (const QJsonValue& v : types) {
        const QString s = v.toString();
        if (s.compare(type, Qt::CaseInsensitive) == 0
            || s.endsWith(QLatin1Char('/') + type, Qt::CaseInsensitive)
            || s.endsWith(QLatin1Char(':') + type, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// Objects that stand in a graph under an "@id" of their own, for the
// references ({"@id": …} alone) that a recipe makes to them.
constexpr qsizetype MaxIds = 10000;
constexpr int ResolveDepth = 6;

void indexIds(const QJsonValue& v, int depth, QHash<QString, QJsonObject>& ids)
{
    if (depth > MaxDepth || ids.size() >= MaxIds)
        return;
    if (v.isArray()) {
        for (const QJsonValue& e : v.toArray())
            indexIds(e, depth + 1, ids);
        return;
    }
    if (!v.isObject())
        return;
    const QJsonObject o = v.toObject();
    const QJsonValue id = o.value(QLatin1String("@id"));
    if (o.size() > 1 && id.isString() && !ids.contains(id.toString()))
        ids.insert(id.toString(), o);
    for (auto it = o.begin(); it != o.end(); ++it)
        indexIds(it.value(), depth + 1, ids);
}

// A reference with nothing behind it stays as it is. The depth bound also
// ends references that lead in a circle.
QJsonValue resolve(const QJsonValue& v, const QHash<QString, QJsonObject>& ids, int depth)
{
    if (depth > ResolveDepth)
        return v;
    if (v.isArray()) {
        QJsonArray out;
        for (const QJsonValue& e : v.toArray())
            out.append(resolve(e, ids, depth + 1));
        return out;
    }
    if (!v.isObject())
        return v;
    QJsonObject o = v.toObject();
    const QJsonValue id = o.value(QLatin1String("@id"));
    if (o.size() == 1 && id.isString()) {
        const auto it = ids.constFind(id.toString());
        return it == ids.constEnd() ? v : resolve(*it, ids, depth + 1);
    }
    for (auto it = o.begin(); it != o.end(); ++it)
        it.value() = resolve(it.value(), ids, depth + 1);
    return o;
}

void collect(const QJsonValue& v, int depth, QList<QJsonObject>& out, qsizetype max)
{
    if (depth > MaxDepth || out.size() >= max)
        return;
    if (v.isArray()) {
        for (const QJsonValue& e : v.toArray())
            collect(e, depth + 1, out, max);
        return;
    }
    if (!v.isObject())
        return;
    const QJsonObject o = v.toObject();
    if (hasType(o, QLatin1String("Recipe"))) {
        out.append(o);
        return;
    }
    collect(o.value(QLatin1String("@graph")), depth + 1, out, max);
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.key() != QLatin1String("@graph"))
            collect(it.value(), depth + 1, out, max);
}

std::optional<qint64> duration(const QJsonValue& v)
{
    return IsoDuration::seconds(cleanText(textValue(v)));
}

void addSteps(const QJsonValue& v, QStringList& out, int& number, int depth)
{
    if (depth > MaxDepth)
        return;
    static const QRegularExpression ownNumber(QStringLiteral("^\\d{1,3}\\s*[.)]\\s+"));
    auto steps = [&](const QString& text) {
        for (QString line : cleanLines(text)) {
            line.remove(ownNumber);
            if (!line.isEmpty())
                out.append(QStringLiteral("%1. %2").arg(number++).arg(line));
        }
    };
    if (v.isString()) {
        steps(v.toString());
    } else if (v.isArray()) {
        for (const QJsonValue& e : v.toArray())
            addSteps(e, out, number, depth + 1);
    } else if (v.isObject()) {
        const QJsonObject o = v.toObject();
        const QJsonValue items = o.value(QLatin1String("itemListElement"));
        if (hasType(o, QLatin1String("HowToSection"))) {
            const QString heading = cleanText(textValue(o.value(QLatin1String("name"))));
            if (!heading.isEmpty())
                out.append(heading);
            addSteps(items, out, number, depth + 1);
        } else if (!items.isUndefined() && !o.contains(QLatin1String("text"))) {
            addSteps(items, out, number, depth + 1);
        } else {
            const QJsonValue text = o.value(QLatin1String("text"));
            steps(textValue(text.isUndefined() ? o.value(QLatin1String("name")) : text));
        }
    }
}

int pixels(const QJsonValue& v)
{
    if (v.isDouble())
        return int(qBound(0.0, v.toDouble(), 1e6));
    static const QRegularExpression digits(QStringLiteral("^\\s*(\\d{1,6})"));
    const auto m = digits.match(textValue(v));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QUrl image(const QJsonValue& v, const QUrl& base)
{
    const QString best = imageReference(v);
    if (best.isEmpty())
        return {};
    const QUrl url = base.resolved(QUrl(best));
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) ? url
                                                                                                  : QUrl();
}

QString timeOf(const QJsonObject& recipe)
{
    std::optional<qint64> time = duration(recipe.value(QLatin1String("totalTime")));
    if (!time || *time == 0) {
        const auto prep = duration(recipe.value(QLatin1String("prepTime")));
        const auto cook = duration(recipe.value(QLatin1String("cookTime")));
        if (prep || cook)
            time = prep.value_or(0) + cook.value_or(0);
    }
    return IsoDuration::swedish(time.value_or(0));
}

QStringList categoriesOf(const QJsonValue& cat)
{
    QStringList out;
    for (const QJsonValue& c : cat.isArray() ? cat.toArray() : QJsonArray { cat }) {
        const QString whole = cleanText(textValue(c));
        QStringList names { whole };
        if (whole.contains(QLatin1Char(',')))
            names += whole.split(QLatin1Char(','));
        for (const QString& n : names)
            if (!n.trimmed().isEmpty() && !out.contains(n.trimmed()))
                out.append(n.trimmed());
    }
    return out;
}

QStringList ingredientsOf(const QJsonObject& recipe)
{
    QStringList out;
    QJsonValue ingredients = recipe.value(QLatin1String("recipeIngredient"));
    if (ingredients.isUndefined())
        ingredients = recipe.value(QLatin1String("ingredients"));
    for (const QJsonValue& i : ingredients.isArray() ? ingredients.toArray() : QJsonArray { ingredients }) {
        if (i.isString())
            out += cleanLines(i.toString());
        else if (const QString t = cleanText(textValue(i)); !t.isEmpty())
            out.append(t);
    }
    return out;
}

} // namespace

// Older themes wrap the JSON in a CDATA section behind comment marks.
QByteArray withoutCData(const QByteArray& text)
{
    QByteArray t = text.trimmed();
    bool wrapped = false;
    for (const char* open : { "/*<![CDATA[*/", "//<![CDATA[", "<![CDATA[" })
        if (t.startsWith(open)) {
            t.remove(0, qsizetype(qstrlen(open)));
            wrapped = true;
            break;
        }
    if (!wrapped)
        return text;
    t = t.trimmed();
    for (const char* close : { "/*]]>*/", "//]]>", "]]>" })
        if (t.endsWith(close)) {
            t.chop(qsizetype(qstrlen(close)));
            break;
        }
    return t;
}

QJsonDocument parseJson(const QByteArray& raw)
{
    const QByteArray text = withoutCData(raw);
    QJsonParseError e;
    QJsonDocument d = QJsonDocument::fromJson(text, &e);
    if (e.error == QJsonParseError::NoError)
        return d;
    // Pages often break lines inside their strings, which JSON forbids: such
    // characters are written as escapes and read again.
    QByteArray fixed;
    fixed.reserve(text.size());
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString && !escaped && uchar(c) < 0x20) {
            fixed += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : " ";
            continue;
        }
        if (inString && !escaped && c == '"')
            inString = false;
        else if (!inString && c == '"')
            inString = true;
        escaped = inString && !escaped && c == '\\';
        fixed += c;
    }
    return QJsonDocument::fromJson(fixed);
}

QList<QJsonObject> findRecipes(const QJsonValue& v, qsizetype max)
{
    QList<QJsonObject> out;
    collect(v, 0, out, max);
    QHash<QString, QJsonObject> ids;
    if (!out.isEmpty())
        indexIds(v, 0, ids);
    if (!ids.isEmpty())
        for (QJsonObject& recipe : out)
            recipe = resolve(recipe, ids, 0).toObject();
    return out;
}

QString imageReference(const QJsonValue& v)
{
    struct Candidate {
        QString url;
        qint64 area;
    };
    std::vector<Candidate> found;
    const QJsonArray all = v.isArray() ? v.toArray() : QJsonArray { v };
    for (const QJsonValue& e : all) {
        if (e.isString()) {
            found.push_back({ e.toString(), 0 });
        } else if (e.isObject()) {
            const QJsonObject o = e.toObject();
            QString url = o.value(QLatin1String("url")).toString();
            if (url.isEmpty())
                url = o.value(QLatin1String("contentUrl")).toString();
            const int w = pixels(o.value(QLatin1String("width")));
            const int h = pixels(o.value(QLatin1String("height")));
            found.push_back({ url, qint64(w) * qint64(h > 0 ? h : 1) });
        }
    }
    // The largest when sizes are given, else the first.
    const Candidate* best = nullptr;
    for (const Candidate& c : found)
        if (!c.url.trimmed().isEmpty() && (!best || c.area > best->area))
            best = &c;
    return best ? best->url.trimmed() : QString();
}

std::optional<WebRecipe> fromJson(const QJsonObject& recipe, const QUrl& base)
{
    WebRecipe r;
    r.name = cleanText(textValue(recipe.value(QLatin1String("name"))));
    if (r.name.isEmpty())
        return std::nullopt;
    r.yield = cleanText(textValue(recipe.value(QLatin1String("recipeYield"))));
    r.time = timeOf(recipe);
    r.categories = categoriesOf(recipe.value(QLatin1String("recipeCategory")));
    r.ingredients = ingredientsOf(recipe);
    int number = 1;
    addSteps(recipe.value(QLatin1String("recipeInstructions")), r.instructions, number, 0);
    r.image = image(recipe.value(QLatin1String("image")), base);
    return r;
}

} // namespace SchemaRecipe
