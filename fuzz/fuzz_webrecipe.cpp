// Web pages: whatever the bytes, a recipe read from them is tidy text, and
// written back as JSON-LD it reads as the same recipe (two paths, one rule).
#include "core/online/SchemaRecipe.h"

#include <QJsonArray>
#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>

namespace {

bool tidy(const QString& line)
{
    if (line.isEmpty() || line != line.simplified())
        return false;
    for (QChar c : line)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
    return true;
}

QJsonValue escaped(const QString& s)
{
    return s.toHtmlEscaped();
}

// The recipe as the JSON-LD object a page would hold for it.
QJsonObject asJson(const WebRecipe& r)
{
    static const QRegularExpression numbered(QStringLiteral("^\\d+\\. "));
    QJsonArray steps;
    QJsonObject section;
    QJsonArray sectionSteps;
    bool inSection = false;
    auto closeSection = [&] {
        if (inSection) {
            section.insert(QStringLiteral("itemListElement"), sectionSteps);
            steps.append(section);
        }
        section = {};
        sectionSteps = {};
    };
    for (const QString& line : r.instructions) {
        if (numbered.match(line).hasMatch()) {
            const QJsonObject step { { QStringLiteral("@type"), QStringLiteral("HowToStep") },
                { QStringLiteral("text"), escaped(line.section(QLatin1Char(' '), 1)) } };
            if (inSection)
                sectionSteps.append(step);
            else
                steps.append(step);
        } else {
            closeSection();
            inSection = true;
            section = { { QStringLiteral("@type"), QStringLiteral("HowToSection") },
                { QStringLiteral("name"), escaped(line) } };
        }
    }
    closeSection();
    QJsonArray ingredients;
    for (const QString& i : r.ingredients)
        ingredients.append(escaped(i));
    QJsonArray categories;
    for (const QString& c : r.categories)
        categories.append(escaped(c));
    return { { QStringLiteral("@type"), QStringLiteral("Recipe") },
        { QStringLiteral("name"), escaped(r.name) }, { QStringLiteral("recipeYield"), escaped(r.yield) },
        { QStringLiteral("recipeCategory"), categories }, { QStringLiteral("recipeIngredient"), ingredients },
        { QStringLiteral("recipeInstructions"), steps }, { QStringLiteral("image"), r.image.toString() } };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QUrl page(QStringLiteral("https://mat.example/recept/sida.html"));
    const auto r
        = WebRecipePage::extract(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), {}, page);
    if (!r)
        return 0;
    QStringList lines { r->name };
    if (!r->yield.isEmpty())
        lines << r->yield;
    if (!r->time.isEmpty())
        lines << r->time;
    lines << r->categories << r->ingredients << r->instructions;
    for (const QString& l : lines)
        if (!tidy(l))
            std::abort();
    const QString scheme = r->image.scheme();
    if (!r->image.isEmpty() && scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        std::abort();

    auto again = SchemaRecipe::fromJson(asJson(*r), page);
    if (!again)
        std::abort();
    again->time = r->time;
    if (!(*again == *r))
        std::abort();
    return 0;
}
