#pragma once

#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace TextRules {

// A compiled LIKE pattern (the wildcards of TextRules::like); compile once,
// match many rows.
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

    void compile(const std::vector<char32_t>& cps);
    // The set opened by the `[` at `open`; returns where the pattern goes on,
    // or 0 when no `]` closes it.
    std::size_t compileSet(const std::vector<char32_t>& cps, std::size_t open);
    void chooseKind();
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
