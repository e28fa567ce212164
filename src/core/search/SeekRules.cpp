#include "core/search/SeekRules.h"

#include "core/db/TextRules.h"

#include <algorithm>
#include <string_view>

namespace SeekRules {

namespace {

bool contains(std::string_view hay, std::string_view needle)
{
    return hay.find(needle) != hay.npos;
}

// Folded, without duplicates, and without any entry that contains another
// one: wherever the longer occurs the shorter does too.
std::vector<std::string> foldEntries(const QStringList& entries, bool* emptyEntry)
{
    std::vector<std::string> folded;
    *emptyEntry = false;
    for (const QString& entry : entries) {
        if (entry.isEmpty()) {
            *emptyEntry = true;
            continue;
        }
        folded.push_back(TextRules::foldUtf8(entry));
    }
    if (*emptyEntry)
        return {};
    std::sort(folded.begin(), folded.end(), [](const std::string& a, const std::string& b) {
        return a.size() < b.size() || (a.size() == b.size() && a < b);
    });
    folded.erase(std::unique(folded.begin(), folded.end()), folded.end());
    std::vector<std::string> kept;
    for (std::string& entry : folded) {
        const bool covered = std::any_of(
            kept.begin(), kept.end(), [&](const std::string& shorter) { return contains(entry, shorter); });
        if (!covered)
            kept.push_back(std::move(entry));
    }
    return kept;
}

// Byte length of the blank starting at p (the characters QChar::isSpace
// accepts, tabs and non-breaking spaces among them), or 0.
int blankAt(const unsigned char* p, const unsigned char* end)
{
    const unsigned char c = p[0];
    if (c == ' ' || (c >= 0x09 && c <= 0x0D))
        return 1;
    const auto left = end - p;
    if (c == 0xC2 && left >= 2)
        return (p[1] == 0x85 || p[1] == 0xA0) ? 2 : 0;
    if (left < 3)
        return 0;
    if (c == 0xE1)
        return (p[1] == 0x9A && p[2] == 0x80) ? 3 : 0;
    if (c == 0xE2 && p[1] == 0x80)
        return ((p[2] >= 0x80 && p[2] <= 0x8A) || p[2] == 0xA8 || p[2] == 0xA9 || p[2] == 0xAF) ? 3 : 0;
    if (c == 0xE2 && p[1] == 0x81)
        return p[2] == 0x9F ? 3 : 0;
    if (c == 0xE3)
        return (p[1] == 0x80 && p[2] == 0x80) ? 3 : 0;
    return 0;
}

// Walks a number one character at a time; blanks are skipped by the caller.
class NumberScan {
public:
    bool step(char32_t c)
    {
        const bool digit = c >= '0' && c <= '9';
        switch (m_state) {
        case Start:
            m_state = digit ? Whole : (c == '-' || c == '+') ? Sign : Bad;
            break;
        case Sign:
            m_state = digit ? Whole : Bad;
            break;
        case Whole:
            m_state = digit ? Whole : (c == ',' || c == '.') ? Point : Bad;
            break;
        case Point:
        case Fraction:
            m_state = digit ? Fraction : Bad;
            break;
        case Bad:
            break;
        }
        return m_state != Bad;
    }
    bool done() const { return m_state == Whole || m_state == Fraction; }

private:
    enum State { Start, Sign, Whole, Point, Fraction, Bad } m_state = Start;
};

// True when the line has nothing but blanks; *number tells whether what is
// left after removing the blanks is a number.
bool blankOrNumber(std::string_view line, bool* number)
{
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    const auto* end = p + line.size();
    NumberScan scan;
    bool blank = true;
    bool ok = true;
    while (p < end) {
        if (const int skip = blankAt(p, end)) {
            p += skip;
            continue;
        }
        blank = false;
        // Any byte of a multi-byte character ends the number anyway.
        ok = ok && scan.step(*p);
        ++p;
    }
    *number = ok && scan.done();
    return blank;
}

} // namespace

// m_emptyEntry is set in the body: a member initialiser would reset it.
AnyIngredient::AnyIngredient(const QStringList& entries)
{
    m_entries = foldEntries(entries, &m_emptyEntry);
}

bool AnyIngredient::matches(const char* utf8, int n) const
{
    if (!utf8 || n <= 0)
        return false;
    TextRules::foldUtf8(utf8, n, m_folded);
    return matchesFolded(m_folded);
}

bool AnyIngredient::matchesFolded(std::string_view text) const
{
    if (text.empty())
        return false;
    if (m_emptyEntry)
        return true;
    return std::any_of(
        m_entries.begin(), m_entries.end(), [&](const std::string& entry) { return contains(text, entry); });
}

bool AnyIngredient::matches(const QString& text) const
{
    const QByteArray utf8 = text.toUtf8();
    return matches(utf8.constData(), int(utf8.size()));
}

Cookable::Cookable(const QStringList& entries)
    : m_colon(TextRules::foldUtf8(u":"))
    , m_circa(TextRules::foldUtf8(u"c:a"))
{
    m_entries = foldEntries(entries, &m_emptyEntry);
    for (const char16_t* word : { u"ugn", u"garnering", u"sås", u"redning" })
        m_words.push_back(TextRules::foldUtf8(QStringView(word)));
}

bool Cookable::accounted(std::string_view line) const
{
    // A heading such as "Deg:", but "c:a 2 dl" is an amount.
    if (contains(line, m_colon) && !contains(line, m_circa))
        return true;
    if (std::any_of(m_words.begin(), m_words.end(), [&](const std::string& w) { return contains(line, w); }))
        return true;
    if (m_emptyEntry)
        return true;
    return std::any_of(
        m_entries.begin(), m_entries.end(), [&](const std::string& entry) { return contains(line, entry); });
}

bool Cookable::matches(const char* utf8, int n) const
{
    if (!utf8 || n <= 0)
        return false;
    TextRules::foldUtf8(utf8, n, m_folded);
    return matchesFolded(m_folded);
}

bool Cookable::matchesFolded(std::string_view text) const
{
    if (text.empty())
        return false;
    std::string_view rest(text);
    while (!rest.empty()) {
        const auto lf = rest.find('\n');
        std::string_view line = rest.substr(0, lf);
        rest = lf == rest.npos ? std::string_view() : rest.substr(lf + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        bool number = false;
        if (blankOrNumber(line, &number) || number)
            continue;
        if (!accounted(line))
            return false;
    }
    return true;
}

bool Cookable::matches(const QString& text) const
{
    const QByteArray utf8 = text.toUtf8();
    return matches(utf8.constData(), int(utf8.size()));
}

namespace {

// Walks the lines of a folded text, each without its CR.
class Lines {
public:
    explicit Lines(std::string_view text)
        : m_rest(text)
    {
    }
    bool next(std::string_view* line)
    {
        if (m_rest.empty())
            return false;
        const auto lf = m_rest.find('\n');
        *line = m_rest.substr(0, lf);
        m_rest = lf == m_rest.npos ? std::string_view() : m_rest.substr(lf + 1);
        if (!line->empty() && line->back() == '\r')
            line->remove_suffix(1);
        return true;
    }

private:
    std::string_view m_rest;
};

bool counted(std::string_view line)
{
    bool number = false;
    return !blankOrNumber(line, &number) && !number;
}

} // namespace

MissingOne::MissingOne(const QStringList& entries)
    : m_rule(entries)
    , m_pairs(65536 / 64)
{
    m_texts = m_rule.m_entries;
    m_texts.insert(m_texts.end(), m_rule.m_words.begin(), m_rule.m_words.end());
    for (const std::string& t : m_texts) {
        const auto b0 = static_cast<unsigned char>(t[0]);
        if (t.size() == 1) {
            m_singles[b0 >> 6] |= std::uint64_t(1) << (b0 & 63);
            continue;
        }
        const unsigned pair = unsigned(b0) << 8 | static_cast<unsigned char>(t[1]);
        m_pairs[pair >> 6] |= std::uint64_t(1) << (pair & 63);
    }
}

bool MissingOne::accounted(std::string_view line) const
{
    if (m_rule.m_emptyEntry)
        return true;
    if (contains(line, m_rule.m_colon) && !contains(line, m_rule.m_circa))
        return true;
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t n = line.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (m_singles[p[i] >> 6] & (std::uint64_t(1) << (p[i] & 63)))
            return true;
        if (i + 1 == n)
            break;
        const unsigned pair = unsigned(p[i]) << 8 | p[i + 1];
        if (!(m_pairs[pair >> 6] & (std::uint64_t(1) << (pair & 63))))
            continue;
        const std::string_view rest = line.substr(i);
        for (const std::string& t : m_texts)
            if (rest.starts_with(t))
                return true;
    }
    return false;
}

int MissingOne::missingLine(const char* utf8, int n) const
{
    if (!utf8 || n <= 0)
        return -1;
    TextRules::foldUtf8(utf8, n, m_folded);
    return missingLineFolded(m_folded);
}

int MissingOne::missingLine(const QString& text) const
{
    const QByteArray utf8 = text.toUtf8();
    return missingLine(utf8.constData(), int(utf8.size()));
}

// With L as an entry, a line is accounted for when it was or when it contains
// L. So L must occur in every line left unaccounted, the first of them
// included: the candidates are the counted lines inside that first one, and
// each later unaccounted line keeps those it contains.
int MissingOne::missingLineFolded(std::string_view text) const
{
    if (text.empty())
        return -1;
    Lines walk(text);
    std::string_view line, first;
    bool found = false;
    while (!found && walk.next(&line)) {
        found = !accounted(line) && counted(line);
        first = line;
    }
    if (!found)
        return -1;
    m_candidates.clear();
    Lines all(text);
    for (int i = 0; all.next(&line); ++i)
        if (line.size() <= first.size() && first.find(line) != first.npos && counted(line))
            m_candidates.push_back({ i, line });
    while (walk.next(&line)) {
        if (accounted(line) || !counted(line))
            continue;
        const auto gone = std::remove_if(m_candidates.begin(), m_candidates.end(),
            [&](const Candidate& c) { return line.find(c.line) == line.npos; });
        m_candidates.erase(gone, m_candidates.end());
        if (m_candidates.empty())
            return -1;
    }
    return m_candidates.front().number;
}

QString MissingOne::lineAt(const QString& text, int number)
{
    if (number < 0)
        return QString();
    qsizetype start = 0;
    for (int i = 0; i < number; ++i) {
        start = text.indexOf(u'\n', start);
        if (start < 0)
            return QString();
        ++start;
    }
    if (start >= text.size() && number > 0)
        return QString();
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0)
        end = text.size();
    if (end > start && text.at(end - 1) == u'\r')
        --end;
    return text.mid(start, end - start);
}

} // namespace SeekRules
