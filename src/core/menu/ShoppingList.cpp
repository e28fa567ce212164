#include "core/menu/ShoppingList.h"

#include "core/catalogue/Catalogue.h"
#include "core/menu/MenuSlots.h"
#include "core/search/SeekRules.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <optional>
#include <vector>

namespace ShoppingList {

namespace {

// Each fridge entry with its own test, so a line can name the entry it matched.
struct Fridge {
    QStringList entries;
    std::vector<SeekRules::AnyIngredient> rules;

    explicit Fridge(const QStringList& list)
    {
        for (const QString& e : list) {
            if (e.trimmed().isEmpty())
                continue;
            entries << e;
            rules.emplace_back(QStringList { e });
        }
    }
    // The first entry that occurs in the line, if any.
    std::optional<QString> entryIn(const QString& line) const
    {
        for (size_t i = 0; i < rules.size(); ++i)
            if (rules[i].matches(line))
                return entries.at(qsizetype(i));
        return std::nullopt;
    }
};

void fillLines(Recipe& r, QString text, const Fridge& fridge)
{
    text.replace(u'\r', u'\n');
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.endsWith(u':')) {
            // A heading with nothing left under it goes.
            if (!r.lines.isEmpty() && r.lines.constLast().heading)
                r.lines.removeLast();
            r.lines.append({ line, true });
        } else if (const std::optional<QString> entry = fridge.entryIn(line)) {
            r.atHome.append({ line, *entry });
        } else {
            r.lines.append({ line, false });
        }
    }
    if (!r.lines.isEmpty() && r.lines.constLast().heading)
        r.lines.removeLast();
}

} // namespace

DbResult<List> build(Database& db, const QStringList& titles, const QStringList& fridgeList)
{
    const Fridge fridge(fridgeList);
    List list;
    list.fridgeUsed = !fridge.entries.isEmpty();
    QHash<qint32, qsizetype> placed;
    for (int slot = 0; slot < MenuSlots::SlotCount && slot < titles.size(); ++slot) {
        const QString& title = titles.at(slot);
        if (title.trimmed().isEmpty())
            continue;
        const QString meal = MenuSlots::dayName(slot / MenuSlots::MealCount) + QLatin1Char(' ')
            + MenuSlots::mealName(slot % MenuSlots::MealCount).toLower();
        const auto found = Catalogue::recipeTitled(db, title);
        if (!found)
            return found.error();
        if (!*found) {
            if (!list.missing.contains(title))
                list.missing << title;
            continue;
        }
        const qint32 rid = (*found)->rid;
        if (const auto it = placed.constFind(rid); it != placed.constEnd()) {
            list.recipes[*it].meals << meal;
            continue;
        }
        Recipe r;
        r.title = (*found)->titel;
        r.meals << meal;
        fillLines(r, (*found)->ingredienser, fridge);
        placed.insert(rid, list.recipes.size());
        list.recipes << r;
    }
    return list;
}

// The user decides about these: each line with the fridge entry that matched.
QString atHomeHtml(const QList<AtHome>& lines)
{
    if (lines.isEmpty())
        return {};
    QString out = QStringLiteral("<p><b>Finns kanske hemma:</b></p>\r\n<ul>\r\n");
    for (const AtHome& a : lines)
        out += QStringLiteral("<li>%1 <i>(%2)</i></li>\r\n")
                   .arg(a.line.toHtmlEscaped(), a.entry.toHtmlEscaped());
    return out + QStringLiteral("</ul>\r\n");
}

QString atHomeText(const QList<AtHome>& lines)
{
    if (lines.isEmpty())
        return {};
    QString out = QStringLiteral("Finns kanske hemma:\n");
    for (const AtHome& a : lines)
        out += QStringLiteral("%1 (%2)\n").arg(a.line, a.entry);
    return out;
}

QString pageEnd(const QStringList& missing)
{
    QString out;
    if (!missing.isEmpty()) {
        QStringList names;
        for (const QString& t : missing)
            names << t.toHtmlEscaped();
        out += QStringLiteral("<p><b>Finns inte i kokboken:</b> ") + names.join(QStringLiteral(", "))
            + QStringLiteral("</p>\r\n");
    }
    return out + QStringLiteral("</BODY>\r\n</HTML>\r\n");
}

QString pagePath(const QString& programFolder)
{
    return QFileInfo(QDir(programFolder).filePath(QString::fromUtf16(PageName))).absoluteFilePath();
}

} // namespace ShoppingList
