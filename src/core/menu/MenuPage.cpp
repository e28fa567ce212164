#include "core/menu/MenuPage.h"

#include "core/menu/MenuSlots.h"
#include "core/print/PageWriter.h"

#include <QDir>
#include <QFileInfo>

namespace MenuPage {

QString pagePath(const QString& programFolder)
{
    return QFileInfo(QDir(programFolder).filePath(QString::fromUtf16(PageName))).absoluteFilePath();
}

QStringList lines(const QStringList& titles, const QString& weekName)
{
    // The week's name is the user's text: shown as typed, never read as HTML.
    const QString week = weekName.simplified().toHtmlEscaped();
    const QString named = week.isEmpty() ? QString() : QStringLiteral(" - ") + week;
    QStringList out { QStringLiteral("<HTML>"), QStringLiteral("<HEAD>"),
        QStringLiteral("<TITLE>KROX Gastrid - Matsedel") + named + QStringLiteral("</TITLE>"),
        QStringLiteral("</HEAD>"), QStringLiteral("<BODY>"),
        QStringLiteral(
            "<table align=\"center\" width=\"500\" border=\"0\" cellpadding=\"2\" cellspacing=\"2\">"),
        QStringLiteral("<tr>"), QStringLiteral("<td align=\"center\"><h1>Veckomatsedel</h1></td>"),
        QStringLiteral("</tr>") };
    if (!week.isEmpty())
        out << QStringLiteral("<tr>")
            << QStringLiteral("<td align=\"center\"><h2>") + week + QStringLiteral("</h2></td>")
            << QStringLiteral("</tr>");
    for (int day = 0; day < MenuSlots::DayCount; ++day) {
        out << QStringLiteral("<tr>") << QStringLiteral("<td>")
            << QStringLiteral("<b>") + MenuSlots::dayName(day) + QStringLiteral("</b>")
            << QStringLiteral("<table width=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"2\">");
        for (int meal = 0; meal < MenuSlots::MealCount; ++meal) {
            out << QStringLiteral("<tr>")
                << QStringLiteral("<td width=\"15%\">") + MenuSlots::mealName(meal) + QStringLiteral("</td>")
                << QStringLiteral("<td width=\"85%\">") + titles.value(MenuSlots::MealCount * day + meal)
                    + QStringLiteral("</td>")
                << QStringLiteral("</tr>");
        }
        out << QStringLiteral("</table>") << QStringLiteral("</td>") << QStringLiteral("</tr>");
    }
    out << QStringLiteral("</table>") << QStringLiteral("</BODY>") << QStringLiteral("</HTML>");
    return out;
}

TextFile::WriteResult write(const QString& path, const QStringList& titles, const QString& weekName)
{
    QString text;
    for (const QString& line : lines(titles, weekName))
        text += line + QLatin1String("\r\n");
    return PageWriter::write(path, text);
}

} // namespace MenuPage
