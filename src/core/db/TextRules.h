#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

// How the cookbook compares and matches text: case-insensitive, Swedish
// alphabet order, and the LIKE wildcards the users know (* ? # [...]).
namespace TextRules {

// Registers the collation "SV" and replaces the SQL functions like(X,Y) and
// like(X,Y,Z) on the connection. In the three-argument form the escape
// character makes the character after it literal (outside [...]).
bool registerOn(sqlite3* db);

// Swedish order, case-insensitive: <0, 0, >0. Letters sort a..z, å, ä, ö
// (æ as ä, ø as ö, ü as y, other accented Latin letters as their base
// letter). Texts equal but for accents are ordered by code point, so only
// texts that differ in case alone compare equal.
int compare(QStringView a, QStringView b);
// The same rule straight on UTF-8; invalid bytes compare as themselves.
int compareUtf8(const char* a, int na, const char* b, int nb);

// Stored UTF-8 as the text it was stored from. Unlike QString::fromUtf8, a
// byte order mark at the start is kept rather than dropped.
QString fromUtf8(const char* s, qsizetype n);

// Case folding into UTF-8. Clears `out` first. Invalid bytes are copied as-is.
void foldUtf8(const char* s, int n, std::string& out);
std::string foldUtf8(QStringView s);
// Folds onto the end of `out`; returns the bytes added.
std::size_t appendFoldedUtf8(const char* s, std::size_t n, std::string& out);

// Whole-text match, case-insensitive. `*` any run, `?` one character, `#` one
// digit, `[abc]` `[a-z]` `[!abc]` one of (or none of) a set; ranges follow the
// Swedish alphabet, accents ignored. An unclosed `[` is a literal `[`.
bool like(QStringView text, QStringView pattern);

// A compiled LIKE pattern; compile once, match many rows.
class LikePattern {
public:
    // `escape` (0 = none) makes the next pattern character literal.
    explicit LikePattern(QStringView pattern, char32_t escape = 0);

    bool matches(const char* utf8, int n) const;
    bool matches(QStringView text) const;
    // The same test on text already folded (foldUtf8).
    bool matchesFolded(std::string_view folded) const;
    char32_t escape() const { return m_escape; }

private:
    enum class Kind : std::uint8_t { Anything, Exact, Prefix, Suffix, Contains, General };
    enum class Op : std::uint8_t { Star, One, Digit, Literal, Set, NotSet };
    struct Token {
        Op op;
        char32_t value; // folded code point, or index of the first set item
        std::uint32_t count; // number of set items
    };
    // A set member: one folded code point, or a range of alphabet weights.
    struct SetItem {
        std::uint32_t lo;
        std::uint32_t hi;
        bool range;
    };

    std::string encodeTokens(std::size_t from, std::size_t to) const;
    bool matchGeneral(const char* s, std::size_t n) const;
    bool inSet(const Token& t, char32_t folded) const;

    Kind m_kind = Kind::General;
    char32_t m_escape = 0;
    // Folded UTF-8: the whole text for the fast kinds, else a run that must occur.
    std::string m_literal;
    std::vector<Token> m_tokens;
    std::vector<SetItem> m_items;
};

} // namespace TextRules
