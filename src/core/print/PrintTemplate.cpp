#include "core/print/PrintTemplate.h"

using namespace Qt::StringLiterals;

namespace PrintTemplate {

QStringList defaultLines()
{
    return {
        u"<!--"_s,
        u"*** Specialtaggar ***"_s,
        u"Nedanstående taggar måste skrivas med enbart VERSALER"_s,
        u"för att kunna läsas av KROX Gastrid."_s,
        QString(),
        u"[TITEL]"_s,
        u"Denna tagg ersätts av receptets titel."_s,
        QString(),
        u"[PORTIONER]"_s,
        u"Denna tagg ersätts med antalet portioner."_s,
        QString(),
        u"[TID]"_s,
        u"Denna tagg ersätts med tiden det tar att tillaga receptet."_s,
        QString(),
        u"[ING]"_s,
        u"Denna tagg ersätts med receptets ingredienser."_s,
        QString(),
        u"[ANV]"_s,
        u"Denna tagg ersätts med receptets anvisningar."_s,
        u"******"_s,
        QString(),
        u"Filen läses precis som en vanlig HTML-sidan med undantag"_s,
        u"för specialtaggarna som ersätts med det som angivigs"_s,
        u"här ovan. För att specialtaggarna ska fungera måste de"_s,
        u"skrivas exakt som angivits ovan och med enbart versaler."_s,
        u"Glöm inte hakparanteserna, [ och ], runt dessa taggar."_s,
        u"Du kan även utesluta någon eller alla specialtaggar om du"_s,
        u"av någon anledning skulle vilja göra detta."_s,
        QString(),
        u"Skulle du göra fel och vill återställa filen till sitt"_s,
        u"originalursprung, klicka på \"Återställ\" i KROX Gastrid"_s,
        u"i \"Skriv ut\"-fönstret."_s,
        QString(),
        u"Om Du har några frågor angående denna och dess funktionalitet,"_s,
        u"tveka inte att höra av dig, lämpligast via e-mail på adress"_s,
        QString::fromUtf16(SupportAddress),
        u"//-->"_s,
        u"<HTML>"_s,
        u"<HEAD>"_s,
        u"<TITLE>[TITEL]</TITLE>"_s,
        u"</HEAD>"_s,
        u"<BODY>"_s,
        u" <table align=\"center\" width=\"560\">"_s,
        u"  <tr>"_s,
        u"   <td><font size=\"5\"><b>[TITEL]</b></font></td>"_s,
        u"  </tr>"_s,
        u"  <tr>"_s,
        u"   <td><b>Portioner: </b>[PORTIONER]</td>"_s,
        u"  </tr>"_s,
        u"  <tr>"_s,
        u"   <td><b>Tid: </b>[TID]</td>"_s,
        u"  </tr>"_s,
        u"  <tr>"_s,
        u"   <td><b>Ingredienser</b><br>[ING]</td>"_s,
        u"  </tr>"_s,
        u"  <tr>"_s,
        u"   <td><b>Gör så här</b><br>[ANV]</td>"_s,
        u"  </tr>"_s,
        u"  <tr>"_s,
        u"   <td>[BILD]</td>"_s,
        u"  </tr>"_s,
        u" </table>"_s,
        u"</BODY>"_s,
        u"</HTML>"_s,
    };
}

QString defaultText()
{
    QString text;
    for (const QString& line : defaultLines())
        text += line + QLatin1String("\r\n");
    return text;
}

QString pictureElement(const QString& picturePath)
{
    if (picturePath.isEmpty())
        return {};
    return QLatin1String("<img src=\"") + picturePath + QLatin1String("\">");
}

std::optional<QString> expand(
    const QString& templateText, const Recipe& recipe, const QString& picturePath, qsizetype maxChars)
{
    const auto lines = [](QString s) { return s.replace(QLatin1String("\r\n"), QLatin1String("<br>")); };
    const std::pair<QLatin1String, QString> steps[] = {
        { QLatin1String("[TITEL]"), recipe.titel },
        { QLatin1String("[PORTIONER]"), recipe.antalPersoner },
        { QLatin1String("[TID]"), recipe.tid },
        { QLatin1String("[ING]"), lines(recipe.ingredienser) },
        { QLatin1String("[ANV]"), lines(recipe.anvisningar) },
        { QLatin1String("[BILD]"), pictureElement(picturePath) },
    };
    if (templateText.size() > maxChars)
        return std::nullopt;
    QString page = templateText;
    for (const auto& [tag, value] : steps) {
        const qsizetype count = page.count(tag);
        if (count == 0)
            continue;
        // In 64 bits no count of tags times a value's length can overflow.
        const qint64 grown = qint64(page.size()) + qint64(count) * (qint64(value.size()) - tag.size());
        if (grown > maxChars)
            return std::nullopt;
        page.replace(tag, value);
    }
    return page;
}

} // namespace PrintTemplate
