#include "core/catalogue/Guide.h"

namespace Guide {

namespace {

QString beginning(const QString& text)
{
    return text + QLatin1Char('*');
}

} // namespace

DbResult<Recipes> recipesBeginning(Database& db, const QString& text)
{
    if (text.isEmpty())
        return Recipes {};
    DbResult<Statement> st = db.prepare("SELECT RID, Titel FROM tblRecept WHERE Titel LIKE ?1 ORDER BY RID;");
    if (!st)
        return st.error();
    st->bind(1, beginning(text));
    Recipes found;
    while (st->next()) {
        found.ids.append(st->int32(0));
        found.titles.append(st->text(1));
    }
    if (st->failed())
        return st->error();
    return found;
}

DbResult<QStringList> ingredientsBeginning(Database& db, const QString& text)
{
    if (text.isEmpty())
        return QStringList {};
    DbResult<Statement> st
        = db.prepare("SELECT IID, Ingrediens FROM tblIngredienser WHERE Ingrediens LIKE ?1 ORDER BY IID;");
    if (!st)
        return st.error();
    st->bind(1, beginning(text));
    QStringList found;
    while (st->next())
        found.append(st->text(1));
    if (st->failed())
        return st->error();
    return found;
}

DbResult<QStringList> ingredientLines(Database& db, qint32 rid)
{
    const auto text = db.scalar("SELECT Ingredienser FROM tblRecept WHERE RID = ?1;", { rid });
    if (!text)
        return text.error();
    if (text->isNull() || text->toString().isEmpty())
        return QStringList {};
    return text->toString().split(QStringLiteral("\r\n"));
}

} // namespace Guide
