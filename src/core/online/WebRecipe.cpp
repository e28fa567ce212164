#include "core/online/WebRecipe.h"

#include "core/online/HtmlText.h"
#include "core/online/HtmlTree.h"
#include "core/online/SchemaRecipe.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QStringDecoder>

#include <vector>

namespace WebRecipePage {

namespace {

using namespace HtmlTree;
using SchemaRecipe::MaxDepth;

QString lineText(const GumboNode* n)
{
    return HtmlText::tidyLines(textOf(n, false)).join(QLatin1Char('\n'));
}

// A microdata property's value. Texts are escaped so that the cleaning of
// JSON-LD values gives back exactly their text.
QJsonValue microdataValue(const GumboNode* n)
{
    switch (n->v.element.tag) {
    case GUMBO_TAG_META:
        return attributeText(n, "content").toHtmlEscaped();
    case GUMBO_TAG_IMG:
    case GUMBO_TAG_SOURCE:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_EMBED:
    case GUMBO_TAG_AUDIO:
    case GUMBO_TAG_VIDEO:
        return attributeText(n, "src");
    case GUMBO_TAG_A:
    case GUMBO_TAG_LINK:
    case GUMBO_TAG_AREA:
        return attributeText(n, "href");
    case GUMBO_TAG_TIME:
        return attribute(n, "datetime") ? attributeText(n, "datetime").toHtmlEscaped()
                                        : lineText(n).toHtmlEscaped();
    case GUMBO_TAG_DATA:
    case GUMBO_TAG_METER:
        return attributeText(n, "value").toHtmlEscaped();
    default:
        return lineText(n).toHtmlEscaped();
    }
}

void addProperty(QJsonObject& obj, const QString& name, const QJsonValue& value)
{
    const QJsonValue old = obj.value(name);
    if (old.isUndefined()) {
        obj.insert(name, value);
        return;
    }
    QJsonArray a = old.isArray() ? old.toArray() : QJsonArray { old };
    a.append(value);
    obj.insert(name, a);
}

void pushChildren(std::vector<const GumboNode*>& stack, const GumboNode* n)
{
    if (const GumboVector* kids = childrenOf(n))
        for (unsigned i = kids->length; i > 0; --i)
            stack.push_back(child(kids, i - 1));
}

// A microdata item as the JSON-LD object it stands for.
QJsonObject microdataItem(const GumboNode* item, int depth)
{
    QJsonObject obj;
    const QString itemType = attributeText(item, "itemtype").simplified().section(QLatin1Char(' '), 0, 0);
    obj.insert(QStringLiteral("@type"), itemType.section(QLatin1Char('/'), -1));
    std::vector<const GumboNode*> stack;
    pushChildren(stack, item);
    while (!stack.empty()) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (!isElement(n))
            continue;
        const bool scope = attribute(n, "itemscope") != nullptr;
        const QString props = attributeText(n, "itemprop").simplified();
        if (!props.isEmpty()) {
            QJsonValue value;
            if (!scope)
                value = microdataValue(n);
            else if (depth < MaxDepth)
                value = microdataItem(n, depth + 1);
            for (const QString& name : props.split(QLatin1Char(' ')))
                addProperty(obj, name, value);
        }
        // A nested item's own properties belong to it, not to this one.
        if (!scope)
            pushChildren(stack, n);
    }
    return obj;
}

bool isMicrodataRecipe(const GumboNode* n)
{
    if (!isElement(n) || !attribute(n, "itemscope"))
        return false;
    for (const QString& t : attributeText(n, "itemtype").simplified().split(QLatin1Char(' ')))
        if (t.endsWith(QLatin1String("/Recipe")) || t == QLatin1String("Recipe"))
            return true;
    return false;
}

// The outermost microdata recipes, in page order, at most `max`.
std::vector<const GumboNode*> microdataRecipes(const GumboNode* root, qsizetype max)
{
    std::vector<const GumboNode*> found;
    std::vector<const GumboNode*> stack { root };
    while (!stack.empty() && qsizetype(found.size()) < max) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (isMicrodataRecipe(n))
            found.push_back(n);
        else
            pushChildren(stack, n);
    }
    return found;
}

std::vector<QByteArray> jsonLdScripts(const GumboNode* root)
{
    std::vector<QByteArray> out;
    std::vector<const GumboNode*> stack { root };
    while (!stack.empty()) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (isElement(n) && n->v.element.tag == GUMBO_TAG_SCRIPT) {
            const QString type = attributeText(n, "type").trimmed().toLower();
            if (type.startsWith(QLatin1String("application/ld+json"))) {
                QByteArray text;
                const GumboVector* kids = childrenOf(n);
                for (unsigned i = 0; i < kids->length; ++i)
                    if (child(kids, i)->type == GUMBO_NODE_TEXT
                        || child(kids, i)->type == GUMBO_NODE_WHITESPACE)
                        text += child(kids, i)->v.text.text;
                out.push_back(text);
            }
            continue;
        }
        pushChildren(stack, n);
    }
    return out;
}

QJsonValue topOf(const QByteArray& script)
{
    const QJsonDocument doc = SchemaRecipe::parseJson(script);
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}

QString decodePage(const QByteArray& page, const QByteArray& contentType)
{
    static const QRegularExpression charset(
        QStringLiteral("charset\\s*=\\s*\"?([A-Za-z0-9._:-]+)"), QRegularExpression::CaseInsensitiveOption);
    const auto m = charset.match(QString::fromLatin1(contentType));
    if (m.hasMatch()) {
        QStringDecoder d(m.captured(1).toLatin1().constData());
        if (d.isValid())
            return d.decode(page);
    }
    QStringDecoder d = QStringDecoder::decoderForHtml(page);
    if (d.isValid())
        return d.decode(page);
    return QString::fromUtf8(page);
}

} // namespace

std::optional<WebRecipe> extract(const QByteArray& page, const QByteArray& contentType, const QUrl& pageUrl)
{
    const Document html(decodePage(page, contentType).toUtf8());
    for (const QByteArray& script : jsonLdScripts(html.root())) {
        const QList<QJsonObject> first = SchemaRecipe::findRecipes(topOf(script), 1);
        if (!first.isEmpty())
            if (auto r = SchemaRecipe::fromJson(first.front(), pageUrl))
                return r;
    }
    const std::vector<const GumboNode*> items = microdataRecipes(html.root(), 1);
    if (!items.empty())
        return SchemaRecipe::fromJson(microdataItem(items.front(), 0), pageUrl);
    return std::nullopt;
}

QList<QJsonObject> recipeObjects(const QByteArray& page, const QByteArray& contentType, qsizetype max)
{
    const Document html(decodePage(page, contentType).toUtf8());
    QList<QJsonObject> out;
    for (const QByteArray& script : jsonLdScripts(html.root()))
        out += SchemaRecipe::findRecipes(topOf(script), max - out.size());
    if (out.isEmpty())
        for (const GumboNode* item : microdataRecipes(html.root(), max))
            out.append(microdataItem(item, 0));
    return out;
}

} // namespace WebRecipePage
