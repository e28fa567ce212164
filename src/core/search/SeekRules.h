#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The row tests of the two ingredient searches. Each search builds its object
// once and then tests every recipe's ingredient text (UTF-8 as stored, lines
// ended by CR LF or a lone LF). matches() reuses a buffer inside the object, so
// one object serves one thread at a time.
namespace SeekRules {

// A hit when at least one entry occurs anywhere in the ingredient text,
// ignoring case. Entries are taken as they stand; an empty entry occurs in
// every non-empty text. An empty text is never a hit.
class AnyIngredient {
public:
    explicit AnyIngredient(const QStringList& entries);
    bool matches(const char* utf8, int n) const;
    bool matches(const QString& text) const;
    // The same test on text already folded (TextRules::foldUtf8).
    bool matchesFolded(std::string_view folded) const;

private:
    std::vector<std::string> m_entries; // folded; none contains another
    bool m_emptyEntry = false;
    mutable std::string m_folded;
};

// A hit when every counted line of the ingredient text is accounted for by a
// heading, a bare number, an oven or garnish/sauce/thickening line, or one of
// the entries (ignoring case). Blank lines are not counted, so a text of only
// blank lines is a hit; an empty text is not.
class Cookable {
public:
    explicit Cookable(const QStringList& entries);
    bool matches(const char* utf8, int n) const;
    bool matches(const QString& text) const;
    // The same test on text already folded (TextRules::foldUtf8).
    bool matchesFolded(std::string_view folded) const;

private:
    friend class MissingOne;
    bool accounted(std::string_view line) const;

    std::vector<std::string> m_entries; // folded; none contains another
    bool m_emptyEntry = false;
    std::string m_colon, m_circa;
    std::vector<std::string> m_words; // lines that never keep a recipe out
    mutable std::string m_folded;
};

// The recipes one purchase away: those the can-be-cooked rule rejects but
// would accept if one of their ingredient lines were also an entry. That line
// is a counted one (not blank, not a bare number); when several would do, the
// first in the text is the one.
class MissingOne {
public:
    explicit MissingOne(const QStringList& entries);
    // The number of that line (from 0, the text split at each LF), or -1 when
    // the recipe is cookable already, needs more than one line, or is empty.
    int missingLine(const char* utf8, int n) const;
    int missingLine(const QString& text) const;
    // The same test on text already folded (TextRules::foldUtf8).
    int missingLineFolded(std::string_view folded) const;
    // Line `number` of an ingredient text as missingLine() counts, without
    // its CR; a null text when there is no such line.
    static QString lineAt(const QString& text, int number);

private:
    struct Candidate {
        int number;
        std::string_view line;
    };
    // The can-be-cooked rule's test of one line. It must look at every line
    // up to the second one left unaccounted, so it tests each position of the
    // line against the first two bytes of the entries and words at once
    // rather than searching for each of them in turn.
    bool accounted(std::string_view line) const;

    Cookable m_rule;
    std::vector<std::string> m_texts; // the rule's entries and words
    std::vector<std::uint64_t> m_pairs; // bit (b0 << 8 | b1): a text starts so
    std::uint64_t m_singles[4] = {}; // bit b: a one-byte text
    mutable std::string m_folded;
    mutable std::vector<Candidate> m_candidates;
};

} // namespace SeekRules
