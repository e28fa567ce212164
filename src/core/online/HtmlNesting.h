#pragma once

#include <QByteArray>

// The HTML parser's tree building costs time in proportion to the depth of
// its open elements for every tag, and to the attributes already read for
// every attribute, so a hostile page nested 100,000 deep would take hours.
// A page is first passed through this bound: tags beyond it are left out
// (their text stays where it was), which changes no page a person writes.
namespace HtmlNesting {

// Open elements the parser may hold; real pages need a few dozen.
constexpr int MaxDepth = 160;
// Unclosed formatting elements (b, i, a, ...), which the parser reopens.
constexpr int MaxFormatting = 4;
// Elements read; beyond them only text (and scripts) is kept. A long recipe
// page holds about 10,000.
constexpr int MaxElements = 50000;
// Attributes kept on one tag.
constexpr int MaxAttributes = 32;
// Attributes kept on the whole page before each further tag keeps only
// FewAttributes: the parser's time grows with every attribute it checks
// against the tag's others. A long recipe page holds about 30,000.
constexpr int MaxPageAttributes = 200000;
constexpr int FewAttributes = 4;

// `html` with tags left out where the nesting, the unclosed formatting
// elements or a tag's attributes would pass the bounds above; unchanged when
// the page stays within them.
QByteArray bounded(const QByteArray& html);

} // namespace HtmlNesting
