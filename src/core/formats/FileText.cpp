#include "core/formats/FileText.h"

#include "core/text/TextDecoding.h"
#include "core/text/TextFile.h"

#include <array>

namespace FileText {

namespace {

// Code page 437 above 127: accented letters, box drawing, Greek and
// mathematical signs.
constexpr char16_t kCp437[128] = {
    0x00C7,
    0x00FC,
    0x00E9,
    0x00E2,
    0x00E4,
    0x00E0,
    0x00E5,
    0x00E7,
    0x00EA,
    0x00EB,
    0x00E8,
    0x00EF,
    0x00EE,
    0x00EC,
    0x00C4,
    0x00C5,
    0x00C9,
    0x00E6,
    0x00C6,
    0x00F4,
    0x00F6,
    0x00F2,
    0x00FB,
    0x00F9,
    0x00FF,
    0x00D6,
    0x00DC,
    0x00A2,
    0x00A3,
    0x00A5,
    0x20A7,
    0x0192,
    0x00E1,
    0x00ED,
    0x00F3,
    0x00FA,
    0x00F1,
    0x00D1,
    0x00AA,
    0x00BA,
    0x00BF,
    0x2310,
    0x00AC,
    0x00BD,
    0x00BC,
    0x00A1,
    0x00AB,
    0x00BB,
    0x2591,
    0x2592,
    0x2593,
    0x2502,
    0x2524,
    0x2561,
    0x2562,
    0x2556,
    0x2555,
    0x2563,
    0x2551,
    0x2557,
    0x255D,
    0x255C,
    0x255B,
    0x2510,
    0x2514,
    0x2534,
    0x252C,
    0x251C,
    0x2500,
    0x253C,
    0x255E,
    0x255F,
    0x255A,
    0x2554,
    0x2569,
    0x2566,
    0x2560,
    0x2550,
    0x256C,
    0x2567,
    0x2568,
    0x2564,
    0x2565,
    0x2559,
    0x2558,
    0x2552,
    0x2553,
    0x256B,
    0x256A,
    0x2518,
    0x250C,
    0x2588,
    0x2584,
    0x258C,
    0x2590,
    0x2580,
    0x03B1,
    0x00DF,
    0x0393,
    0x03C0,
    0x03A3,
    0x03C3,
    0x00B5,
    0x03C4,
    0x03A6,
    0x0398,
    0x03A9,
    0x03B4,
    0x221E,
    0x03C6,
    0x03B5,
    0x2229,
    0x2261,
    0x00B1,
    0x2265,
    0x2264,
    0x2320,
    0x2321,
    0x00F7,
    0x2248,
    0x00B0,
    0x2219,
    0x00B7,
    0x221A,
    0x207F,
    0x00B2,
    0x25A0,
    0x00A0,
};

enum class Kind : unsigned char { Other, Letter, Degree, Fraction };

Kind kindOf(QChar c)
{
    if (c.isLetter() && c.script() == QChar::Script_Latin)
        return Kind::Letter;
    if (c == QChar(0x00B0))
        return Kind::Degree;
    if (c == QChar(0x00BD) || c == QChar(0x00BC) || c == QChar(0x00BE))
        return Kind::Fraction;
    return Kind::Other;
}

struct Kinds {
    std::array<Kind, 128> cp437 {};
    std::array<Kind, 128> windows1252 {};
};

const Kinds& kinds()
{
    static const Kinds k = [] {
        Kinds out;
        QByteArray high(128, Qt::Uninitialized);
        for (int i = 0; i < 128; ++i)
            high[i] = char(0x80 + i);
        const QString w = TextFile::fromWindows1252(high);
        for (int i = 0; i < 128; ++i) {
            out.cp437[size_t(i)] = kindOf(QChar(kCp437[i]));
            out.windows1252[size_t(i)] = kindOf(w.at(i));
        }
        return out;
    }();
    return k;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool wordish(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || uchar(c) >= 0x80;
}

// Whether a character of this kind makes sense between these neighbours:
// a letter inside a word (not straight after a number), a degree sign after
// a number ("350°F"), a fraction beside a number or a space.
bool fits(Kind k, char before, char after)
{
    switch (k) {
    case Kind::Letter:
        return (wordish(before) || wordish(after)) && !isDigit(before);
    case Kind::Degree:
        return isDigit(before) || before == ' ';
    case Kind::Fraction:
        return isDigit(before) || before == ' ' || after == ' ';
    case Kind::Other:
        break;
    }
    return false;
}

} // namespace

bool isUtf8(const QByteArray& bytes)
{
    return TextDecoding::isUtf8(bytes);
}

QString decode(const QByteArray& bytes)
{
    return TextDecoding::decode(bytes);
}

QString decodeDos(const QByteArray& bytes)
{
    if (std::optional<QString> text = TextDecoding::unicode(bytes))
        return *std::move(text);
    const Kinds& k = kinds();
    qsizetype dos = 0;
    qsizetype windows = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = uchar(bytes.at(i));
        if (b < 0x80)
            continue;
        const char before = i > 0 ? bytes.at(i - 1) : ' ';
        const char after = i + 1 < bytes.size() ? bytes.at(i + 1) : ' ';
        dos += fits(k.cp437[b - 0x80], before, after);
        windows += fits(k.windows1252[b - 0x80], before, after);
    }
    return dos > windows ? fromCp437(bytes) : TextFile::fromWindows1252(bytes);
}

QString fromCp437(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char ch : bytes) {
        const auto b = uchar(ch);
        *out++ = b < 0x80 ? QChar(b) : QChar(kCp437[b - 0x80]);
    }
    return text;
}

} // namespace FileText
