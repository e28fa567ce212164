#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

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
    bool accounted(std::string_view line) const;

    std::vector<std::string> m_entries; // folded; none contains another
    bool m_emptyEntry = false;
    std::string m_colon, m_circa;
    std::vector<std::string> m_words; // lines that never keep a recipe out
    mutable std::string m_folded;
};

} // namespace SeekRules
