#include "core/online/HtmlNesting.h"

#include <QHash>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace HtmlNesting {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

enum Flag : unsigned {
    Void = 1,
    RawText = 2,
    Formatting = 4,
    TablePart = 8,
    ScopeBoundary = 16,
    Merged = 32, // html, head, body: the parser merges them
    Foreign = 64,
};

// The tags the bounds treat apart, as small numbers, so that the walks over
// the open elements compare numbers.
enum Known : int {
    P,
    Li,
    Dt,
    Dd,
    Td,
    Th,
    Tr,
    Tbody,
    Thead,
    Tfoot,
    Option,
    Ul,
    Ol,
    Dl,
    Table,
    Select,
    Template,
    KnownClosing // the rest have no number of their own
};

struct TagKind {
    int id = -1;
    unsigned flags = 0;
};

QHash<QByteArray, TagKind> knownTags()
{
    QHash<QByteArray, TagKind> h;
    const char* const numbered[] = { "p", "li", "dt", "dd", "td", "th", "tr", "tbody", "thead", "tfoot",
        "option", "ul", "ol", "dl", "table", "select", "template" };
    for (int i = 0; i < KnownClosing; ++i)
        h[numbered[i]].id = i;
    const auto mark = [&](unsigned flag, std::initializer_list<const char*> names) {
        for (const char* n : names)
            h[n].flags |= flag;
    };
    mark(Void,
        { "area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source",
            "track", "wbr", "keygen", "basefont", "bgsound", "frame", "image" });
    mark(RawText, { "script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes" });
    mark(Formatting,
        { "a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong", "tt", "u" });
    mark(TablePart, { "table", "tbody", "thead", "tfoot", "tr", "td", "th", "caption", "colgroup" });
    mark(
        ScopeBoundary, { "applet", "caption", "html", "table", "td", "th", "marquee", "object", "template" });
    mark(Merged, { "html", "head", "body" });
    mark(Foreign, { "svg", "math" });
    return h;
}

// The elements a start tag closes when one is open (a new list item closes
// the last), and where the search for them stops.
struct Closing {
    int tag;
    std::initializer_list<int> siblings;
    std::initializer_list<int> stops;
};

const Closing* closingOf(int id)
{
    static const Closing table[] = {
        { P, { P }, {} },
        { Li, { Li }, { Ul, Ol } },
        { Dt, { Dt, Dd }, { Dl } },
        { Dd, { Dt, Dd }, { Dl } },
        { Td, { Td, Th }, { Tr, Table } },
        { Th, { Td, Th }, { Tr, Table } },
        { Tr, { Tr }, { Table, Tbody, Thead, Tfoot } },
        { Tbody, { Tbody, Thead, Tfoot }, { Table } },
        { Thead, { Tbody, Thead, Tfoot }, { Table } },
        { Tfoot, { Tbody, Thead, Tfoot }, { Table } },
        { Option, { Option }, { Select } },
    };
    for (const Closing& c : table)
        if (id == c.tag)
            return &c;
    return nullptr;
}

bool contains(std::initializer_list<int> ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

struct Tag {
    QByteArray name; // lower case
    qsizetype end = -1; // after '>'; -1 when the page ends inside the tag
    qsizetype cut = -1; // where attributes beyond the bound begin
    int attributes = 0; // kept
    bool selfClosing = false;
};

// One attribute from `i`; returns where it ends.
qsizetype skipAttribute(const QByteArray& s, qsizetype i)
{
    const qsizetype n = s.size();
    ++i; // the first character belongs to the name even when it is '='
    while (i < n && !isSpace(s[i]) && s[i] != '/' && s[i] != '>' && s[i] != '=')
        ++i;
    qsizetype j = i;
    while (j < n && isSpace(s[j]))
        ++j;
    if (j >= n || s[j] != '=')
        return i;
    ++j;
    while (j < n && isSpace(s[j]))
        ++j;
    if (j < n && (s[j] == '"' || s[j] == '\'')) {
        const qsizetype close = s.indexOf(s[j], j + 1);
        return close < 0 ? n : close + 1;
    }
    while (j < n && !isSpace(s[j]) && s[j] != '>')
        ++j;
    return j;
}

// The tag whose name starts at `i` (after "<" or "</").
Tag readTag(const QByteArray& s, qsizetype i, int maxAttributes)
{
    Tag t;
    const qsizetype n = s.size();
    const qsizetype start = i;
    while (i < n && !isSpace(s[i]) && s[i] != '/' && s[i] != '>')
        ++i;
    t.name = s.mid(start, i - start).toLower();
    int attributes = 0;
    while (i < n) {
        if (s[i] == '>') {
            t.selfClosing = s[i - 1] == '/';
            t.end = i + 1;
            t.attributes = std::min(attributes, maxAttributes);
            return t;
        }
        if (isSpace(s[i]) || s[i] == '/') {
            ++i;
            continue;
        }
        if (++attributes > maxAttributes && t.cut < 0)
            t.cut = i;
        i = skipAttribute(s, i);
    }
    return t;
}

// Where the raw text of a script, style, ... element that starts at `i` ends.
qsizetype rawTextEnd(const QByteArray& s, qsizetype i, const QByteArray& name)
{
    for (;;) {
        i = s.indexOf("</", i);
        if (i < 0)
            return s.size();
        const qsizetype after = i + 2 + name.size();
        if (after <= s.size() && s.mid(i + 2, name.size()).toLower() == name
            && (after == s.size() || isSpace(s[after]) || s[after] == '/' || s[after] == '>'))
            return i;
        i += 2;
    }
}

class Bounder {
public:
    explicit Bounder(const QByteArray& in)
        : m_in(in)
    {
        static const QHash<QByteArray, TagKind> known = knownTags();
        m_kinds = known;
    }
    QByteArray run();

private:
    qsizetype markup(qsizetype lt);
    qsizetype startTag(qsizetype lt);
    qsizetype endTag(qsizetype lt);
    TagKind kindOf(const QByteArray& name);
    bool keepStart(const TagKind& k);
    void closeSiblings(const Closing& c);
    // The open element an end tag closes; -1 when none in its scope.
    qsizetype openIndex(const TagKind& k) const;
    void popTo(qsizetype index);
    void copyTag(qsizetype from, const Tag& t);
    qsizetype unfinishedTag();
    Tag readTagAt(qsizetype nameStart);

    const QByteArray& m_in;
    QByteArray m_out;
    QHash<QByteArray, TagKind> m_kinds;
    std::vector<TagKind> m_open;
    // Per tag number: start tags left out, and formatting elements open.
    std::vector<int> m_dropped;
    std::vector<int> m_formatting;
    int m_formattingOpen = 0;
    int m_foreign = 0;
    qsizetype m_elements = 0;
    qsizetype m_attributes = 0;
    bool m_changed = false;
};

TagKind Bounder::kindOf(const QByteArray& name)
{
    auto it = m_kinds.find(name);
    if (it == m_kinds.end()) {
        it = m_kinds.insert(name, TagKind {});
    }
    if (it->id < 0)
        it->id = int(KnownClosing + m_kinds.size());
    const size_t need = size_t(it->id) + 1;
    if (m_dropped.size() < need) {
        m_dropped.resize(need);
        m_formatting.resize(need);
    }
    return *it;
}

QByteArray Bounder::run()
{
    m_out.reserve(m_in.size());
    qsizetype i = 0;
    while (i < m_in.size()) {
        const qsizetype lt = m_in.indexOf('<', i);
        if (lt < 0) {
            m_out.append(m_in.constData() + i, m_in.size() - i);
            break;
        }
        m_out.append(m_in.constData() + i, lt - i);
        i = markup(lt);
    }
    return m_changed ? m_out : m_in;
}

// Copies or leaves out the markup at `lt`; returns where the text goes on.
qsizetype Bounder::markup(qsizetype lt)
{
    const qsizetype n = m_in.size();
    const char next = lt + 1 < n ? m_in[lt + 1] : '\0';
    qsizetype end = lt + 1;
    if (next == '!' && m_in.sliced(lt).startsWith("<!--")) {
        const qsizetype close = m_in.indexOf("-->", lt + 4);
        end = close < 0 ? n : close + 3;
    } else if (next == '!' || next == '?') {
        const qsizetype close = m_in.indexOf('>', lt);
        end = close < 0 ? n : close + 1;
    } else if (next == '/' && lt + 2 < n && isAlpha(m_in[lt + 2])) {
        return endTag(lt);
    } else if (isAlpha(next)) {
        return startTag(lt);
    }
    m_out.append(m_in.constData() + lt, end - lt);
    return end;
}

void Bounder::copyTag(qsizetype from, const Tag& t)
{
    if (t.cut < 0) {
        m_out.append(m_in.constData() + from, t.end - from);
        return;
    }
    m_changed = true;
    m_out.append(m_in.constData() + from, t.cut - from);
    m_out.append(t.selfClosing ? "/>" : ">");
}

Tag Bounder::readTagAt(qsizetype nameStart)
{
    const Tag t = readTag(m_in, nameStart, m_attributes > MaxPageAttributes ? FewAttributes : MaxAttributes);
    m_attributes += t.attributes;
    return t;
}

// The page ends inside a tag: the parser drops such a tag anyway, but only
// after reading its attributes at a cost that grows with their square.
qsizetype Bounder::unfinishedTag()
{
    m_changed = true;
    return m_in.size();
}

qsizetype Bounder::startTag(qsizetype lt)
{
    const Tag t = readTagAt(lt + 1);
    if (t.end < 0)
        return unfinishedTag();
    const TagKind k = kindOf(t.name);
    if (k.flags & RawText) {
        // Kept whatever the bounds: a script may hold the recipe.
        copyTag(lt, t);
        const qsizetype end = rawTextEnd(m_in, t.end, t.name);
        m_out.append(m_in.constData() + t.end, end - t.end);
        return end;
    }
    if (t.name == "plaintext") {
        m_out.append(m_in.constData() + lt, m_in.size() - lt);
        return m_in.size();
    }
    if (++m_elements > MaxElements) {
        m_changed = true;
        return t.end;
    }
    if ((k.flags & (Merged | Void)) || (t.selfClosing && m_foreign > 0)) {
        copyTag(lt, t);
        return t.end;
    }
    if (keepStart(k))
        copyTag(lt, t);
    return t.end;
}

bool Bounder::keepStart(const TagKind& k)
{
    if (const Closing* c = closingOf(k.id))
        closeSiblings(*c);
    const bool formatting = k.flags & Formatting;
    if (qsizetype(m_open.size()) >= MaxDepth || (formatting && m_formattingOpen >= MaxFormatting)) {
        ++m_dropped[size_t(k.id)];
        m_changed = true;
        return false;
    }
    m_open.push_back(k);
    if (k.flags & Foreign)
        ++m_foreign;
    if (formatting) {
        ++m_formatting[size_t(k.id)];
        ++m_formattingOpen;
    }
    return true;
}

void Bounder::closeSiblings(const Closing& c)
{
    const bool tablePart = c.tag >= Td && c.tag <= Tfoot;
    for (qsizetype i = qsizetype(m_open.size()) - 1; i >= 0; --i) {
        const TagKind& e = m_open[size_t(i)];
        if (contains(c.siblings, e.id)) {
            popTo(i);
            return;
        }
        if (contains(c.stops, e.id) || (!tablePart && (e.flags & ScopeBoundary)))
            return;
    }
}

qsizetype Bounder::openIndex(const TagKind& k) const
{
    const bool tablePart = k.flags & TablePart;
    for (qsizetype i = qsizetype(m_open.size()) - 1; i >= 0; --i) {
        const TagKind& e = m_open[size_t(i)];
        if (e.id == k.id)
            return i;
        if (tablePart ? (e.id == Table || e.id == Template) : bool(e.flags & ScopeBoundary))
            return -1;
    }
    return -1;
}

void Bounder::popTo(qsizetype index)
{
    while (qsizetype(m_open.size()) > index) {
        if (m_open.back().flags & Foreign)
            --m_foreign;
        m_open.pop_back();
    }
}

qsizetype Bounder::endTag(qsizetype lt)
{
    const Tag t = readTagAt(lt + 2);
    if (t.end < 0)
        return unfinishedTag();
    const TagKind k = kindOf(t.name);
    if (m_elements > MaxElements || m_dropped[size_t(k.id)] > 0) {
        if (m_elements <= MaxElements)
            --m_dropped[size_t(k.id)];
        return t.end;
    }
    if (const qsizetype i = openIndex(k); i >= 0)
        popTo(i);
    // The parser keeps a formatting element open until its own end tag.
    if (m_formatting[size_t(k.id)] > 0) {
        --m_formatting[size_t(k.id)];
        --m_formattingOpen;
    }
    m_out.append(m_in.constData() + lt, t.end - lt);
    return t.end;
}

} // namespace

QByteArray bounded(const QByteArray& html)
{
    return Bounder(html).run();
}

} // namespace HtmlNesting
