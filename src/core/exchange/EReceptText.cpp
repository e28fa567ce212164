#include "core/exchange/EReceptText.h"

#include "core/catalogue/Catalogue.h"

namespace EReceptText {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Three line ends in a row become two, in one left-to-right pass, so four
// become three: a missing field leaves no gap taller than the recipe has
// elsewhere.
QString squeezeBlankLines(const QString& body)
{
    const QString three = CrLf + CrLf + CrLf;
    QString out;
    out.reserve(body.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = body.indexOf(three, from);
        if (at < 0)
            break;
        out += QStringView(body).mid(from, at - from);
        out += CrLf + CrLf;
        from = at + three.size();
    }
    out += QStringView(body).mid(from);
    return out;
}

} // namespace

QString WrapText(const QString& text)
{
    // The counter counts CR and LF too, so after a line end already in the
    // text it stands at 2 when the next line's first character is met.
    QString out;
    out.reserve(text.size() + text.size() / 30);
    int col = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r'))
            col = 0;
        if (c == QLatin1Char(' ') && col > 60) {
            out += CrLf;
            col = 1;
            continue;
        }
        ++col;
        out += c;
    }
    return out;
}

DbResult<QString> BuildEReceptText(Database& db, const QVector<qint32>& rids)
{
    QString body;
    int rendered = 0;
    for (const qint32 rid : rids) {
        DbResult<std::optional<Catalogue::Recipe>> loaded = Catalogue::loadRecipe(db, rid);
        if (!loaded)
            return loaded.error();
        if (!loaded->has_value())
            continue;
        const Catalogue::Recipe& r = **loaded;
        if (rendered > 0)
            body += Separator + CrLf;
        if (!r.titel.isEmpty())
            body += r.titel + CrLf + CrLf;
        if (!r.antalPersoner.isEmpty())
            body += QStringLiteral("Portioner: ") + r.antalPersoner + CrLf;
        if (!r.tid.isEmpty())
            body += QStringLiteral("Tid: ") + r.tid + CrLf;
        // The cookbook keeps CR LF; the wrapping rule counts on it.
        if (!r.ingredienser.isEmpty())
            body += CrLf + CrLf + QStringLiteral("Detta behövs:") + CrLf + Catalogue::toStored(r.ingredienser)
                + CrLf + CrLf;
        if (!r.anvisningar.isEmpty())
            body += QStringLiteral("Så här gör du:") + CrLf + WrapText(Catalogue::toStored(r.anvisningar))
                + CrLf;
        ++rendered;
    }
    return squeezeBlankLines(body);
}

} // namespace EReceptText
