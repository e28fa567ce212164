#pragma once

#include "core/formats/PortableRecipe.h"

#include <QList>
#include <QString>

// Recipes in and out of other programs' files: what a window or a command
// calls. Reading and writing touch no cookbook and no shared state, so they
// may run on a worker thread.
namespace RecipeFiles {

enum class Format {
    Unknown,
    SchemaFolder, // a folder of .json/.html files with their pictures
    SchemaZip, // a zip file of such files
    SchemaFile, // one .json file, or a saved web page
    MealMaster,
    Paprika, // a .paprikarecipes archive or one .paprikarecipe
    Tagged, // the program's own recipe file
};

// The format of a file or folder, by its name and, when that says nothing
// certain (.txt, .zip, any other), by its first bytes.
Format formatOf(const QString& path);

// The recipes of a file or folder, or an error and none.
ReadResult read(const QString& path, const ReadOptions& options = {});

// Writes recipes in the format the name asks for: ".zip" a zip file of
// JSON-LD with the pictures, ".rcp" the program's own recipe file. The file
// is replaced whole or not at all. Empty, or a Swedish sentence.
QString write(const QString& path, const QList<PortableRecipe>& recipes);

} // namespace RecipeFiles
