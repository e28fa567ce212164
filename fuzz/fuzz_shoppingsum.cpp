// The shopping list's sum: the same lines in another order give the same
// lines; every recipe line is counted once; lines without an amount come out
// as written. Input: ingredient lines, recipes apart by an empty line.
#include "core/kitchen/Amounts.h"
#include "core/kitchen/ShopSections.h"
#include "core/kitchen/ShoppingSum.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

QStringList texts(const QList<ShoppingSum::Line>& lines, int* counted)
{
    QStringList t;
    *counted = 0;
    for (const ShoppingSum::Line& l : lines) {
        t << l.text;
        *counted += l.lines;
    }
    std::sort(t.begin(), t.end());
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString in = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QStringList> recipes;
    int lineCount = 0;
    QStringList unreadable;
    for (const QString& block : in.split(QStringLiteral("\n\n"))) {
        recipes << block.split(u'\n');
        for (const QString& line : recipes.last()) {
            if (line.trimmed().isEmpty())
                continue;
            ++lineCount;
            if (!Amounts::read(line.trimmed()))
                unreadable << line.trimmed();
        }
    }
    QList<QStringList> turned = recipes;
    std::reverse(turned.begin(), turned.end());
    for (QStringList& r : turned)
        std::rotate(r.begin(), r.begin() + r.size() / 2, r.end());
    int counted = 0, countedTurned = 0;
    const QList<ShoppingSum::Line> summed = ShoppingSum::sum(recipes);
    const QStringList a = texts(summed, &counted);
    if (a != texts(ShoppingSum::sum(turned), &countedTurned) || counted != lineCount
        || countedTurned != lineCount)
        std::abort();
    for (const QString& line : unreadable)
        if (a.count(line) < unreadable.count(line))
            std::abort();
    // Every line finds a section, at most one per line.
    qsizetype placed = 0;
    for (const ShopSections::Section& s : ShopSections::shipped().arrange(summed))
        placed += s.lines.size();
    if (placed != summed.size())
        std::abort();
    return 0;
}
