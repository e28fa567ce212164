#include "core/online/HtmlTree.h"

#include "core/online/HtmlNesting.h"

#include <vector>

namespace HtmlTree {

namespace {

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

} // namespace

Document::Document(QByteArray utf8)
    : m_utf8(HtmlNesting::bounded(utf8))
    , m_out(gumbo_parse_with_options(&kGumboDefaultOptions, m_utf8.constData(), size_t(m_utf8.size())))
{
}

Document::~Document()
{
    gumbo_destroy_output(&kGumboDefaultOptions, m_out);
}

const GumboVector* childrenOf(const GumboNode* n)
{
    if (n->type == GUMBO_NODE_DOCUMENT)
        return &n->v.document.children;
    if (n->type == GUMBO_NODE_ELEMENT || n->type == GUMBO_NODE_TEMPLATE)
        return &n->v.element.children;
    return nullptr;
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

// Walked with a stack of its own, so a page nested a million deep is no
// danger.
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

} // namespace HtmlTree
