#include "core/online/WebRecipe.h"

#include "core/online/IsoDuration.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStringDecoder>

#include <gumbo.h>

#include <utility>
#include <vector>

namespace WebRecipePage {

namespace {

// Nesting followed into JSON and microdata; real recipes need a handful.
constexpr int MaxDepth = 32;

class Html {
public:
    explicit Html(QByteArray utf8)
        : m_utf8(std::move(utf8))
        , m_out(gumbo_parse_with_options(&kGumboDefaultOptions, m_utf8.constData(), size_t(m_utf8.size())))
    {
    }
    ~Html() { gumbo_destroy_output(&kGumboDefaultOptions, m_out); }
    Html(const Html&) = delete;
    Html& operator=(const Html&) = delete;
    const GumboNode* root() const { return m_out->document; }

private:
    QByteArray m_utf8;
    GumboOutput* m_out;
};

const GumboVector* childrenOf(const GumboNode* n)
{
    if (n->type == GUMBO_NODE_DOCUMENT)
        return &n->v.document.children;
    if (n->type == GUMBO_NODE_ELEMENT || n->type == GUMBO_NODE_TEMPLATE)
        return &n->v.element.children;
    return nullptr;
}

const GumboNode* child(const GumboVector* v, unsigned i)
{
    return static_cast<const GumboNode*>(v->data[i]);
}

bool isElement(const GumboNode* n)
{
    return n->type == GUMBO_NODE_ELEMENT || n->type == GUMBO_NODE_TEMPLATE;
}

const char* attribute(const GumboNode* n, const char* name)
{
    if (!isElement(n))
        return nullptr;
    const GumboAttribute* a = gumbo_get_attribute(&n->v.element.attributes, name);
    return a ? a->value : nullptr;
}

QString attributeText(const GumboNode* n, const char* name)
{
    const char* v = attribute(n, name);
    return v ? QString::fromUtf8(v) : QString();
}

bool startsLine(GumboTag t)
{
    switch (t) {
    case GUMBO_TAG_P:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_BR:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_UL:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_HR:
    case GUMBO_TAG_TITLE:
        return true;
    default:
        return false;
    }
}

bool hidden(GumboTag t)
{
    return t == GUMBO_TAG_SCRIPT || t == GUMBO_TAG_STYLE || t == GUMBO_TAG_TEMPLATE
        || t == GUMBO_TAG_NOSCRIPT;
}

// The text below `root`, block elements on lines of their own. Line breaks
// in the source text are kept only when asked: inside a JSON value they
// separate steps, in a page they are mere layout. Walked with a stack of its
// own, so a page nested a million deep is no danger.
QString textOf(const GumboNode* root, bool keepNewlines)
{
    QString out;
    struct Frame {
        const GumboNode* node;
        int next; // -1: not entered yet
    };
    std::vector<Frame> stack { { root, -1 } };
    while (!stack.empty()) {
        const GumboNode* n = stack.back().node;
        if (stack.back().next < 0) {
            stack.back().next = 0;
            if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE
                || n->type == GUMBO_NODE_CDATA) {
                QString t = QString::fromUtf8(n->v.text.text);
                if (!keepNewlines) {
                    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
                    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
                }
                out += t;
                stack.pop_back();
                continue;
            }
            if (isElement(n) && n != root && hidden(n->v.element.tag)) {
                stack.pop_back();
                continue;
            }
            if (isElement(n) && startsLine(n->v.element.tag))
                out += QLatin1Char('\n');
        }
        const GumboVector* kids = childrenOf(n);
        if (kids && unsigned(stack.back().next) < kids->length) {
            const GumboNode* c = child(kids, unsigned(stack.back().next++));
            stack.push_back({ c, -1 });
            continue;
        }
        if (isElement(n) && startsLine(n->v.element.tag))
            out += QLatin1Char('\n');
        stack.pop_back();
    }
    return out;
}

QStringList tidyLines(const QString& text)
{
    QStringList out;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        // Soft hyphens and zero-width marks would hide in titles and searches.
        line.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
        for (QChar& c : line)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
                || c.category() == QChar::Separator_Paragraph)
                c = QLatin1Char(' ');
        line = line.simplified();
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

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

std::optional<QJsonObject> findRecipe(const QJsonValue& v, int depth)
{
    if (depth > MaxDepth)
        return std::nullopt;
    if (v.isArray()) {
        for (const QJsonValue& e : v.toArray())
            if (auto r = findRecipe(e, depth + 1))
                return r;
        return std::nullopt;
    }
    if (!v.isObject())
        return std::nullopt;
    const QJsonObject o = v.toObject();
    if (hasType(o, QLatin1String("Recipe")))
        return o;
    if (auto r = findRecipe(o.value(QLatin1String("@graph")), depth + 1))
        return r;
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.key() != QLatin1String("@graph"))
            if (auto r = findRecipe(it.value(), depth + 1))
                return r;
    return std::nullopt;
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

QUrl image(const QJsonValue& v, const QUrl& pageUrl)
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
    if (!best)
        return {};
    const QUrl url = pageUrl.resolved(QUrl(best->url.trimmed()));
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) ? url
                                                                                                  : QUrl();
}

// A microdata item as the JSON-LD object it stands for. Values are escaped
// so that the cleaning of JSON-LD values gives back exactly their text.
QJsonObject microdataItem(const GumboNode* item, int depth)
{
    QJsonObject obj;
    const QString itemType = attributeText(item, "itemtype").simplified().section(QLatin1Char(' '), 0, 0);
    obj.insert(QStringLiteral("@type"), itemType.section(QLatin1Char('/'), -1));
    std::vector<const GumboNode*> stack;
    auto pushChildren = [&](const GumboNode* n) {
        if (const GumboVector* kids = childrenOf(n))
            for (unsigned i = kids->length; i > 0; --i)
                stack.push_back(child(kids, i - 1));
    };
    pushChildren(item);
    while (!stack.empty()) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (!isElement(n))
            continue;
        const bool scope = attribute(n, "itemscope") != nullptr;
        const QString props = attributeText(n, "itemprop").simplified();
        if (!props.isEmpty()) {
            QJsonValue value;
            if (scope) {
                if (depth < MaxDepth)
                    value = microdataItem(n, depth + 1);
            } else {
                switch (n->v.element.tag) {
                case GUMBO_TAG_META:
                    value = attributeText(n, "content").toHtmlEscaped();
                    break;
                case GUMBO_TAG_IMG:
                case GUMBO_TAG_SOURCE:
                case GUMBO_TAG_IFRAME:
                case GUMBO_TAG_EMBED:
                case GUMBO_TAG_AUDIO:
                case GUMBO_TAG_VIDEO:
                    value = attributeText(n, "src");
                    break;
                case GUMBO_TAG_A:
                case GUMBO_TAG_LINK:
                case GUMBO_TAG_AREA:
                    value = attributeText(n, "href");
                    break;
                case GUMBO_TAG_TIME:
                    value = attribute(n, "datetime")
                        ? attributeText(n, "datetime").toHtmlEscaped()
                        : tidyLines(textOf(n, false)).join(QLatin1Char('\n')).toHtmlEscaped();
                    break;
                case GUMBO_TAG_DATA:
                case GUMBO_TAG_METER:
                    value = attributeText(n, "value").toHtmlEscaped();
                    break;
                default:
                    value = tidyLines(textOf(n, false)).join(QLatin1Char('\n')).toHtmlEscaped();
                }
            }
            for (const QString& name : props.split(QLatin1Char(' '))) {
                const QJsonValue old = obj.value(name);
                if (old.isUndefined()) {
                    obj.insert(name, value);
                } else {
                    QJsonArray a = old.isArray() ? old.toArray() : QJsonArray { old };
                    a.append(value);
                    obj.insert(name, a);
                }
            }
        }
        // A nested item's own properties belong to it, not to this one.
        if (!scope)
            pushChildren(n);
    }
    return obj;
}

const GumboNode* firstMicrodataRecipe(const GumboNode* root)
{
    std::vector<const GumboNode*> stack { root };
    while (!stack.empty()) {
        const GumboNode* n = stack.back();
        stack.pop_back();
        if (isElement(n) && attribute(n, "itemscope")) {
            for (const QString& t : attributeText(n, "itemtype").simplified().split(QLatin1Char(' ')))
                if (t.endsWith(QLatin1String("/Recipe")) || t == QLatin1String("Recipe"))
                    return n;
        }
        if (const GumboVector* kids = childrenOf(n))
            for (unsigned i = kids->length; i > 0; --i)
                stack.push_back(child(kids, i - 1));
    }
    return nullptr;
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
        if (const GumboVector* kids = childrenOf(n))
            for (unsigned i = kids->length; i > 0; --i)
                stack.push_back(child(kids, i - 1));
    }
    return out;
}

QJsonDocument parseJson(const QByteArray& text)
{
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

QStringList cleanLines(const QString& value)
{
    if (!value.contains(QLatin1Char('<')) && !value.contains(QLatin1Char('&')))
        return tidyLines(value);
    const Html html(value.toUtf8());
    return tidyLines(textOf(html.root(), true));
}

QString cleanText(const QString& value)
{
    return cleanLines(value).join(QLatin1Char(' '));
}

std::optional<WebRecipe> fromJson(const QJsonObject& recipe, const QUrl& pageUrl)
{
    WebRecipe r;
    r.name = cleanText(textValue(recipe.value(QLatin1String("name"))));
    if (r.name.isEmpty())
        return std::nullopt;
    r.yield = cleanText(textValue(recipe.value(QLatin1String("recipeYield"))));

    std::optional<qint64> time = duration(recipe.value(QLatin1String("totalTime")));
    if (!time || *time == 0) {
        const auto prep = duration(recipe.value(QLatin1String("prepTime")));
        const auto cook = duration(recipe.value(QLatin1String("cookTime")));
        if (prep || cook)
            time = prep.value_or(0) + cook.value_or(0);
    }
    r.time = IsoDuration::swedish(time.value_or(0));

    const QJsonValue cat = recipe.value(QLatin1String("recipeCategory"));
    for (const QJsonValue& c : cat.isArray() ? cat.toArray() : QJsonArray { cat }) {
        const QString whole = cleanText(textValue(c));
        QStringList names { whole };
        if (whole.contains(QLatin1Char(',')))
            names += whole.split(QLatin1Char(','));
        for (const QString& n : names)
            if (!n.trimmed().isEmpty() && !r.categories.contains(n.trimmed()))
                r.categories.append(n.trimmed());
    }

    QJsonValue ingredients = recipe.value(QLatin1String("recipeIngredient"));
    if (ingredients.isUndefined())
        ingredients = recipe.value(QLatin1String("ingredients"));
    for (const QJsonValue& i : ingredients.isArray() ? ingredients.toArray() : QJsonArray { ingredients }) {
        if (i.isString())
            r.ingredients += cleanLines(i.toString());
        else if (const QString t = cleanText(textValue(i)); !t.isEmpty())
            r.ingredients.append(t);
    }

    int number = 1;
    addSteps(recipe.value(QLatin1String("recipeInstructions")), r.instructions, number, 0);
    r.image = image(recipe.value(QLatin1String("image")), pageUrl);
    return r;
}

std::optional<WebRecipe> extract(const QByteArray& page, const QByteArray& contentType, const QUrl& pageUrl)
{
    const Html html(decodePage(page, contentType).toUtf8());
    for (const QByteArray& script : jsonLdScripts(html.root())) {
        const QJsonDocument doc = parseJson(script);
        const QJsonValue top = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
        if (const auto recipe = findRecipe(top, 0))
            if (auto r = fromJson(*recipe, pageUrl))
                return r;
    }
    if (const GumboNode* item = firstMicrodataRecipe(html.root()))
        return fromJson(microdataItem(item, 0), pageUrl);
    return std::nullopt;
}

} // namespace WebRecipePage
