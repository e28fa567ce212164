// The Swedish order: the UTF-16 and UTF-8 comparisons agree, the order is
// antisymmetric and transitive, equal means equal after case folding, and
// both foldings agree. Raw bytes (invalid UTF-8 too) still give an order.
// Input: up to three texts separated by NUL.
#include "core/db/TextRules.h"

#include <QByteArrayList>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

int utf8Order(const QByteArray& a, const QByteArray& b)
{
    return sign(TextRules::compareUtf8(a.constData(), int(a.size()), b.constData(), int(b.size())));
}

std::string foldBytes(const QByteArray& s)
{
    std::string out;
    TextRules::foldUtf8(s.constData(), int(s.size()), out);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray in(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> raw = in.split('\0');
    while (raw.size() < 3)
        raw << QByteArray();
    QString t[3];
    QByteArray u[3];
    for (int i = 0; i < 3; ++i) {
        t[i] = TextRules::fromUtf8(raw[i].constData(), raw[i].size());
        u[i] = t[i].toUtf8();
        if (TextRules::compare(t[i], t[i]) != 0 || utf8Order(raw[i], raw[i]) != 0)
            std::abort();
        if (TextRules::foldUtf8(t[i]) != foldBytes(u[i]))
            std::abort();
    }
    int order[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            order[i][j] = sign(TextRules::compare(t[i], t[j]));
            if (order[i][j] != utf8Order(u[i], u[j]))
                std::abort();
            // Only texts that differ in case alone are equal.
            if ((order[i][j] == 0) != (TextRules::foldUtf8(t[i]) == TextRules::foldUtf8(t[j])))
                std::abort();
            if (utf8Order(raw[i], raw[j]) != -utf8Order(raw[j], raw[i]))
                std::abort();
        }
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                if (order[i][j] <= 0 && order[j][k] <= 0 && order[i][k] > 0)
                    std::abort();
    return 0;
}
