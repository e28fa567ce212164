#include "core/menu/ShoppingList.h"

#include "core/catalogue/Catalogue.h"
#include "core/menu/MenuSlots.h"
#include "core/search/SeekRules.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace ShoppingList {

DbResult<List> build(Database& db, const QStringList& titles, const QStringList& fridge)
{
    const SeekRules::AnyIngredient atHome(fridge);
    List list;
    list.fridgeUsed = !fridge.isEmpty();
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
        QString text = (*found)->ingredienser;
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
            } else if (atHome.matches(line)) {
                ++r.covered;
            } else {
                r.lines.append({ line, false });
            }
        }
        if (!r.lines.isEmpty() && r.lines.constLast().heading)
            r.lines.removeLast();
        placed.insert(rid, list.recipes.size());
        list.recipes << r;
    }
    return list;
}

QString html(const List& list)
{
    QString out
        = QStringLiteral("<HTML>\r\n<HEAD>\r\n<TITLE>KROX Gastrid - Inköpslista</TITLE>\r\n</HEAD>\r\n"
                         "<BODY>\r\n<h1>Inköpslista</h1>\r\n");
    if (list.recipes.isEmpty() && list.missing.isEmpty())
        out += QStringLiteral("<p>Matsedeln är tom.</p>\r\n");
    if (list.fridgeUsed)
        out += QStringLiteral("<p><i>Det som står i kylskåpslistan är inte med.</i></p>\r\n");
    for (const Recipe& r : list.recipes) {
        out += QStringLiteral("<h3>") + r.title.toHtmlEscaped() + QStringLiteral("</h3>\r\n");
        out += QStringLiteral("<p><i>") + r.meals.join(QStringLiteral(", ")).toHtmlEscaped()
            + QStringLiteral("</i></p>\r\n");
        if (r.lines.isEmpty()) {
            out += r.covered > 0 ? QStringLiteral("<p>Allt finns hemma.</p>\r\n")
                                 : QStringLiteral("<p>Receptet har inga ingredienser.</p>\r\n");
            continue;
        }
        bool inList = false;
        for (const Line& line : r.lines) {
            if (line.heading && inList)
                out += QStringLiteral("</ul>\r\n");
            if (line.heading) {
                out += QStringLiteral("<p><b>") + line.text.toHtmlEscaped() + QStringLiteral("</b></p>\r\n");
                inList = false;
                continue;
            }
            if (!inList)
                out += QStringLiteral("<ul>\r\n");
            inList = true;
            out += QStringLiteral("<li>") + line.text.toHtmlEscaped() + QStringLiteral("</li>\r\n");
        }
        if (inList)
            out += QStringLiteral("</ul>\r\n");
    }
    if (!list.missing.isEmpty()) {
        QStringList names;
        for (const QString& t : list.missing)
            names << t.toHtmlEscaped();
        out += QStringLiteral("<p><b>Finns inte i kokboken:</b> ") + names.join(QStringLiteral(", "))
            + QStringLiteral("</p>\r\n");
    }
    out += QStringLiteral("</BODY>\r\n</HTML>\r\n");
    return out;
}

QString pagePath(const QString& programFolder)
{
    return QFileInfo(QDir(programFolder).filePath(QString::fromUtf16(PageName))).absoluteFilePath();
}

} // namespace ShoppingList
