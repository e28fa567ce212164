#pragma once

#include <cstdint>

// Alphabet weights of the Swedish order: a..z, then å, ä, ö.
namespace TextRules::detail {

// A code point's weight is its value shifted left 8 bits, so non-letters keep
// code point order; Latin letters take their base letter's weight and å ä ö
// slot in right after z.
constexpr std::uint32_t weightOf(char32_t base)
{
    return std::uint32_t(base) << 8;
}

constexpr char32_t kLatinExtFirst = 0x100, kLatinExtCount = 0x150; // U+0100..U+024F
constexpr char32_t kLatinAddFirst = 0x1E00, kLatinAddCount = 0x100; // U+1E00..U+1EFF

struct WeightTable {
    std::uint32_t latin1[256]; // by Latin-1 character, folded first
    std::uint32_t latinExt[kLatinExtCount]; // by folded code point
    std::uint32_t latinAdd[kLatinAddCount];
};

const WeightTable& weightTable();

// The weight of a code point that is already folded.
inline std::uint32_t weightFolded(const WeightTable& t, char32_t f)
{
    if (f < 256)
        return t.latin1[f];
    if (f - kLatinExtFirst < kLatinExtCount)
        return t.latinExt[f - kLatinExtFirst];
    if (f - kLatinAddFirst < kLatinAddCount)
        return t.latinAdd[f - kLatinAddFirst];
    return weightOf(f);
}

} // namespace TextRules::detail
