// Amounts in ingredient lines: a line without an amount never changes; an
// amount written back reads as the same value in the same unit; scaling up by
// n and back down lands near where it began, in the same kind of unit, never
// written as "2,0"; scaling a text keeps its line ends. Input: one byte for n,
// then the ingredient text.
#include "core/kitchen/Amounts.h"
#include "core/kitchen/Portions.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

bool near(double a, double b, double tolerance)
{
    return std::abs(a - b) <= tolerance * std::max(1.0, std::max(std::abs(a), std::abs(b)));
}

Units::Measure measureOf(int unit)
{
    return unit < 0 ? Units::Measure::Count : Units::unit(unit).measure;
}

void writtenReadsBack(const Amounts::Reading& r)
{
    const Amounts::Settled exact { r.unit, r.low, r.high };
    const QString written = Amounts::writeAmount(exact, r.style) + QStringLiteral(" x");
    const auto back = Amounts::read(written);
    if (!back || back->unit != r.unit || !near(back->low, r.low, 1e-6) || !near(back->high, r.high, 1e-6))
        std::abort();
}

// Halves, thirds and quarters from ¼ to 1000 stay near after n and 1/n.
void scalesBack(const QString& line, const Amounts::Reading& r, int n)
{
    const QString up = Portions::scaleLine(line, 1, n);
    const auto upRead = Amounts::read(up);
    if (!upRead || measureOf(upRead->unit) != measureOf(r.unit))
        std::abort();
    static const QRegularExpression zeros(QStringLiteral("[,.]0*$"));
    const QString number = up.mid(upRead->numberBegin, upRead->numberEnd - upRead->numberBegin);
    if (zeros.match(number).hasMatch())
        std::abort();
    const double twelfths = r.low * 12;
    if (r.range || r.low < 0.25 || r.low > 1000 || std::abs(twelfths - std::round(twelfths)) > 1e-9)
        return;
    const auto down = Amounts::read(Portions::scaleLine(up, n, 1));
    if (!down || measureOf(down->unit) != measureOf(r.unit))
        std::abort();
    if (!near(Amounts::inBase(down->unit, down->high), Amounts::inBase(r.unit, r.high), 0.35))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int n = 2 + data[0] % 4;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (Portions::scaleText(text, 4, 4) != text)
        std::abort();
    const QString scaled = Portions::scaleText(text, 1, n);
    if (scaled.count(u'\n') != text.count(u'\n') || scaled.count(u'\r') != text.count(u'\r'))
        std::abort();
    static const QRegularExpression ends(QStringLiteral("\r\n|\n|\r"));
    for (const QString& line : text.split(ends)) {
        const auto r = Amounts::read(line);
        if (!r) {
            if (Portions::scaleLine(line, 1, n) != line)
                std::abort();
            continue;
        }
        writtenReadsBack(*r);
        scalesBack(line, *r, n);
    }
    return 0;
}
