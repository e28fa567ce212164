#pragma once

#include "core/db/Database.h"
#include "core/formats/PortableRecipe.h"

#include <QString>
#include <QVector>

#include <functional>
#include <optional>

// Recipes between files and the cookbook: what the window's commands and the
// command line run. Reading a file touches no cookbook and may run on a
// worker thread; storing and exporting use the connection.
namespace RecipeTransfer {

// The category a recipe without a usable one of its own goes to.
inline const QString DefaultCategory = QStringLiteral("Importerade recept");

struct ImportChoice {
    // Every recipe goes to the category of this name (created when missing).
    QString category;
    // Otherwise a recipe goes to the first of its own categories the
    // cookbook has by name (letter case aside); failing that to `fallback`
    // when set, or to its first category's name, created.
    std::optional<qint32> fallback;
};

struct ImportResult {
    // Numbers and stored titles of the recipes added, in file order.
    QVector<qint32> added;
    QStringList titles;
    // How many of them got " kopia": the cookbook or the file had the title.
    int copies = 0;
    // Empty, or a Swedish message naming the file (and the recipe).
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Stores a file's recipes: one transaction, so on any fault none is stored.
// A title the cookbook already has gets " kopia". Pictures of the types the
// cookbook shows (jpg, gif, bmp) go to `pictureFolder` as <RID>.<type>;
// other types are left out.
ImportResult store(
    Database& db, const QString& pictureFolder, const ReadResult& read, const ImportChoice& choice);

// The recipes of a file that no category of the cookbook takes by name:
// the distinct names they give, and how many recipes they are. A recipe
// without a category counts when the cookbook lacks the default one.
struct Unmatched {
    QStringList names;
    int recipes = 0;
};
DbResult<Unmatched> unmatched(Database& db, const ReadResult& read);

// What an import of several files came to, told in Swedish at its end.
struct Tally {
    int imported = 0;
    int copies = 0;
    // Messages of the files that stored nothing, each naming its file.
    QStringList faults;
    bool stopped = false;
    void add(const ImportResult& r);
    QString text() const;
};

// Reads and stores one file or folder.
ImportResult importFile(Database& db, const QString& pictureFolder, const QString& path,
    const ImportChoice& choice, const ReadOptions& options = {});

// The numbers of every recipe, or those of the category named `category`
// (letter case aside); an error when no category bears that name.
struct Selection {
    QVector<qint32> rids;
    QString error;
};
Selection select(Database& db, const QString& category);

struct ExportResult {
    int count = 0;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Writes recipes `rids` with their texts as stored and their pictures to
// `path`: ".zip" JSON-LD, ".rcp" the program's own file. The file is
// replaced whole or not at all. `progress` as for reading.
ExportResult exportRecipes(Database& db, const QString& pictureFolder, const QVector<qint32>& rids,
    const QString& path, const std::function<bool(qint64, qint64)>& progress = {});

} // namespace RecipeTransfer
