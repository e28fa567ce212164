#include "core/formats/PortableRecipe.h"

#include <QLocale>
#include <QRegularExpression>

bool PortableRecipe::sameContent(const PortableRecipe& o) const
{
    return title == o.title && categories == o.categories && categoryNumber == o.categoryNumber
        && portions == o.portions && time == o.time && ingredients == o.ingredients
        && instructions == o.instructions && picture == o.picture && pictureType == o.pictureType;
}

namespace PortableRecipes {

QString pictureTypeOf(const QByteArray& b)
{
    if (b.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpg");
    if (b.startsWith("GIF87a") || b.startsWith("GIF89a"))
        return QStringLiteral("gif");
    if (b.startsWith("BM") && b.size() > 14)
        return QStringLiteral("bmp");
    if (b.startsWith("\x89PNG\r\n\x1A\n"))
        return QStringLiteral("png");
    if (b.size() > 12 && b.startsWith("RIFF") && b.mid(8, 4) == "WEBP")
        return QStringLiteral("webp");
    return {};
}

QString recipeLabel(int number, const QString& title)
{
    const QString shown = title.simplified().left(80);
    return shown.isEmpty() ? QStringLiteral("recept %1").arg(number)
                           : QStringLiteral("recept %1 (\"%2\")").arg(number).arg(shown);
}

QString fileError(const QString& file, const QString& what)
{
    return QStringLiteral("Filen \"%1\" kunde inte läsas in: %2").arg(file, what);
}

QString check(const PortableRecipe& r, const FormatLimits& limits)
{
    if (r.title.trimmed().isEmpty())
        return QStringLiteral("receptet har ingen titel.");
    const std::pair<const QString*, const char*> texts[]
        = { { &r.title, "titeln" }, { &r.portions, "portionerna" }, { &r.time, "tiden" },
              { &r.ingredients, "ingredienserna" }, { &r.instructions, "anvisningarna" } };
    for (const auto& [text, name] : texts)
        if (text->size() > limits.textChars)
            return QStringLiteral("%1 är längre än %2 tecken.")
                .arg(QString::fromUtf8(name), QLocale(QLocale::Swedish).toString(limits.textChars));
    for (const QString& c : r.categories)
        if (c.size() > limits.textChars)
            return QStringLiteral("en kategori är längre än %1 tecken.")
                .arg(QLocale(QLocale::Swedish).toString(limits.textChars));
    if (r.picture.size() > limits.pictureBytes)
        return QStringLiteral("bilden är större än %1 MB.").arg(limits.pictureBytes >> 20);
    return {};
}

QString crlf(const QString& text)
{
    static const QRegularExpression ends(QStringLiteral("\r\n|\r|\n"));
    QString t = text;
    return t.replace(ends, QStringLiteral("\r\n"));
}

bool keepGoing(const ReadOptions& options, qint64 done, qint64 total)
{
    return !options.progress || options.progress(done, total);
}

QString cancelled(const QString& file)
{
    return QStringLiteral("Inläsningen av filen \"%1\" avbröts.").arg(file);
}

} // namespace PortableRecipes
