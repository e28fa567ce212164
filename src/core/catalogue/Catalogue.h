#pragma once

#include "core/db/Database.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>
#include <string>
#include <unordered_set>

// The recipe and category tables (tblRecept, tblKategorier). Their one owner:
// outside the schema upgrade, every SQL statement over them is in
// Catalogue.cpp and Wastebasket.cpp, and the rest of the program reads and
// changes recipes and categories through this header, Records.h,
// Categories.h, Guide.h and Wastebasket.h.
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
// The filter's entry once its entries (fixed ones, then one category number
// each) are read again: the same category where it is still listed, else
// the same position within the entries.
int keptFilterPosition(const QVector<qint32>& before, int position, const QVector<qint32>& after);

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
// Recipe `rid` with its multi-line texts as stored (their line ends
// untouched), for writing it out byte for byte.
DbResult<std::optional<Recipe>> storedRecipe(Database& db, qint32 rid);
// Every recipe's number, or those of category `kid`, ascending.
DbResult<QVector<qint32>> recipeNumbers(Database& db, std::optional<qint32> kid);
// The oldest recipe bearing exactly `titel`, letter case aside; empty when
// none does.
DbResult<std::optional<Recipe>> recipeTitled(Database& db, const QString& titel);
// Recipes whose title matches `pattern` in the cookbook's LIKE, by number.
DbResult<RecipeRows> recipesTitledLike(Database& db, const QString& pattern);
// The oldest category of that name, letter case aside; empty when none bears it.
DbResult<std::optional<qint32>> categoryNamed(Database& db, const QString& name);

// A recipe's columns in the form the table holds them: texts as stored (CR LF
// line ends), a null QVariant for NULL.
struct StoredFields {
    QString titel;
    QVariant antalPersoner;
    QVariant tid;
    QVariant ingredienser;
    QVariant anvisningar;
};

// Recipes bearing `titel`, letter case aside.
DbResult<int> countTitled(Database& db, const QString& titel);
// Every recipe's title case-folded (TextRules::foldUtf8), in one pass: equal
// keys are exactly the titles countTitled counts as equal. For storing many
// recipes, where a count per recipe would scan the table each time.
DbResult<std::unordered_set<std::string>> foldedTitles(Database& db);
// Adds a recipe; returns its number.
DbResult<qint32> insertRecipe(Database& db, qint32 kid, const StoredFields& f);
// Stores the fields into recipe `rid`, its category kept; false when there is
// no such recipe.
DbResult<bool> updateRecipe(Database& db, qint32 rid, const StoredFields& f);
// All or none.
[[nodiscard]] DbStatus deleteRecipes(Database& db, const QVector<qint32>& rids);
// False when there is no such recipe.
DbResult<bool> setCategory(Database& db, qint32 rid, qint32 kid);
// Returns the new category's number.
DbResult<qint32> addCategory(Database& db, const QString& name);
// False when there is no such category.
DbResult<bool> renameCategory(Database& db, qint32 kid, const QString& name);

// The recipe a row change reported by Database::observeRows names, when it
// names one.
std::optional<qint32> changedRecipe(const char* table, qint64 rowid);
// False when the cookbook holds no recipe; one look at the highest number.
DbResult<bool> hasRecipes(Database& db);
DbResult<qint64> recipeCount(Database& db);

// The three texts the searches scan, straight from the engine's row: UTF-8,
// a null pointer for NULL, valid only while the reader is told of them.
struct SearchTexts {
    qint32 rid = 0;
    // Title, ingredients, instructions.
    const char* text[3] = {};
    int length[3] = {};
};
// Told each recipe read; false stops the reading.
using SearchTextReader = std::function<bool(const SearchTexts&)>;
// The search's bulk reader: the texts of at most `limit` recipes numbered
// above `after`, in number order. True when it read the last recipe there is.
DbResult<bool> readSearchTexts(Database& db, qint32 after, int limit, const SearchTextReader& reader);
// The texts of each recipe of `rids` (ascending) that still exists.
[[nodiscard]] DbStatus readSearchTextsOf(
    Database& db, const QList<qint32>& rids, const SearchTextReader& reader);

// The program's multi-line fields use \n; the cookbook keeps CR LF.
QString fromStored(const QString& text);
QString toStored(const QString& text);

} // namespace Catalogue
