#include "core/menu/SummedList.h"

namespace ShoppingList {

namespace {

QList<AtHome> allAtHome(const List& list)
{
    QList<AtHome> all;
    for (const Recipe& r : list.recipes)
        all << r.atHome;
    return all;
}

} // namespace

QList<ShopSections::Section> bySection(const List& list, const ShopSections& sections)
{
    QList<QStringList> recipes;
    for (const Recipe& r : list.recipes) {
        QStringList lines;
        for (const Line& line : r.lines)
            if (!line.heading)
                lines << line.text;
        recipes << lines;
    }
    return sections.arrange(ShoppingSum::sum(recipes));
}

QString summedHtml(const List& list, const QList<ShopSections::Section>& sections)
{
    QString out
        = QStringLiteral("<HTML>\r\n<HEAD>\r\n<TITLE>KROX Gastrid - Inköpslista</TITLE>\r\n</HEAD>\r\n"
                         "<BODY>\r\n<h1>Inköpslista</h1>\r\n");
    if (list.recipes.isEmpty() && list.missing.isEmpty())
        out += QStringLiteral("<p>Matsedeln är tom.</p>\r\n");
    if (list.fridgeUsed)
        out += QStringLiteral("<p><i>") + QString::fromUtf16(FridgeNote).toHtmlEscaped()
            + QStringLiteral("</i></p>\r\n");
    for (const ShopSections::Section& s : sections) {
        out += QStringLiteral("<h3>") + s.name.toHtmlEscaped() + QStringLiteral("</h3>\r\n<ul>\r\n");
        for (const ShoppingSum::Line& line : s.lines)
            out += QStringLiteral("<li>") + line.text.toHtmlEscaped() + QStringLiteral("</li>\r\n");
        out += QStringLiteral("</ul>\r\n");
    }
    out += atHomeHtml(allAtHome(list));
    if (!list.recipes.isEmpty()) {
        out += QStringLiteral("<p><b>Recept:</b></p>\r\n<ul>\r\n");
        for (const Recipe& r : list.recipes)
            out += QStringLiteral("<li>") + r.title.toHtmlEscaped() + QStringLiteral(" <i>(")
                + r.meals.join(QStringLiteral(", ")).toHtmlEscaped() + QStringLiteral(")</i></li>\r\n");
        out += QStringLiteral("</ul>\r\n");
    }
    return out + ShoppingList::pageEnd(list.missing);
}

QString summedText(const List& list, const QList<ShopSections::Section>& sections)
{
    QString out = QStringLiteral("Inköpslista\n\n");
    if (list.fridgeUsed)
        out += QString::fromUtf16(FridgeNote) + QStringLiteral("\n\n");
    out += ShopSections::plainText(sections);
    if (const QString maybe = atHomeText(allAtHome(list)); !maybe.isEmpty())
        out += u'\n' + maybe;
    if (!list.missing.isEmpty())
        out += QStringLiteral("\nFinns inte i kokboken: ") + list.missing.join(QStringLiteral(", ")) + u'\n';
    return out;
}

} // namespace ShoppingList
