#pragma once

#include "core/db/Database.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// Reading the cookbook for the main window's lists and fields.
namespace Catalogue {

struct Category {
    qint32 kid = 0;
    QString name;
    qint32 count = 0;
};

struct RecipeRows {
    QVector<qint32> ids;
    QStringList titles;
};

// Fields of one recipe; a null column reads as the empty text.
struct Recipe {
    qint32 rid = 0;
    QString titel;
    QString antalPersoner;
    QString tid;
    QString ingredienser;
    QString anvisningar;
    qint32 kategori = 0;
    // False when the recipe's category number names no category.
    bool hasCategory = false;
    QString kategoriNamn;
};

// The fixed entries of the category filter.
constexpr int AllRecipesPosition = 0;
constexpr int NewestPosition = 1;

// Swedish title order, equal titles by number.
void sortByTitle(RecipeRows& rows);

// Every recipe in list order, kept for the run: read whole once, then
// brought up to date recipe by recipe as recipes change through the
// connection. A change it cannot follow (another schema or connection, the
// table emptied at one go) makes it read everything again.
class TitleOrder {
public:
    explicit TitleOrder(Database& db);
    ~TitleOrder();
    TitleOrder(const TitleOrder&) = delete;
    TitleOrder& operator=(const TitleOrder&) = delete;

    // Valid until the next call.
    DbResult<const RecipeRows*> get();
    Database& database() const { return m_db; }

private:
    DbStatus readAll();
    DbStatus patch();

    Database& m_db;
    RecipeRows m_rows;
    QSet<qint32> m_dirty;
    bool m_read = false;
    quint64 m_generation = 0;
    qint64 m_schema = -1;
};

// Categories holding at least one recipe, with their counts, in Swedish order.
DbResult<QList<Category>> categoriesWithRecipes(Database& db);
// Every category, in Swedish order.
DbResult<QList<Category>> allCategories(Database& db);
// Recipes for a filter choice: every recipe, the ten newest, or one category.
DbResult<RecipeRows> recipesFor(Database& db, int position, qint32 kid);
// An empty optional when there is no such recipe.
DbResult<std::optional<Recipe>> loadRecipe(Database& db, qint32 rid);

// The program's multi-line fields use \n; the cookbook keeps CR LF.
QString fromStored(const QString& text);
QString toStored(const QString& text);

} // namespace Catalogue
