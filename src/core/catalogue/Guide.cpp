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
    return Catalogue::recipesTitledLike(db, beginning(text));
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
    const auto recipe = Catalogue::loadRecipe(db, rid);
    if (!recipe)
        return recipe.error();
    if (!*recipe || (*recipe)->ingredienser.isEmpty())
        return QStringList {};
    return (*recipe)->ingredienser.split(QLatin1Char('\n'));
}

} // namespace Guide
