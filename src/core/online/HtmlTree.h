#pragma once

#include <QByteArray>
#include <QString>

#include <gumbo.h>

// An HTML document parsed by an HTML5 parser, and the walks the page reader
// and the text cleaning make over it.
namespace HtmlTree {

class Document {
public:
    explicit Document(QByteArray utf8);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    const GumboNode* root() const { return m_out->document; }

private:
    QByteArray m_utf8;
    GumboOutput* m_out;
};

// The children of a document or element; nothing for text.
const GumboVector* childrenOf(const GumboNode* n);
inline const GumboNode* child(const GumboVector* v, unsigned i)
{
    return static_cast<const GumboNode*>(v->data[i]);
}
inline bool isElement(const GumboNode* n)
{
    return n->type == GUMBO_NODE_ELEMENT || n->type == GUMBO_NODE_TEMPLATE;
}
const char* attribute(const GumboNode* n, const char* name);
QString attributeText(const GumboNode* n, const char* name);

// The text below `root`, block elements on lines of their own. Line breaks
// in the source text are kept only when asked: inside a JSON value they
// separate steps, in a page they are mere layout.
QString textOf(const GumboNode* root, bool keepNewlines);

} // namespace HtmlTree
