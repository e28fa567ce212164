#pragma once

#include <QChar>

#include <cstddef>
#include <string>

// Case folding for the text rules: what makes "Å" and "å" the same letter.
namespace TextRules::detail {

struct FoldTable {
    unsigned char ascii[128];
    char32_t latin1[256];
};

const FoldTable& foldTable();

inline char32_t foldCp(const FoldTable& t, char32_t c)
{
    return c < 256 ? t.latin1[c] : QChar::toCaseFolded(c);
}

// Folding can grow a two-byte character to three bytes (U+023A → U+2C65), never more.
inline std::size_t foldCapacity(std::size_t n)
{
    return n + n / 2 + 8;
}

// Folds n bytes of UTF-8 into out (room for foldCapacity(n)); returns the bytes written.
std::size_t foldInto(const unsigned char* s, std::size_t n, char* out);

// The folded text in a buffer of this thread, valid until the next call.
const std::string& foldedScratch(const char* s, std::size_t n);

} // namespace TextRules::detail
