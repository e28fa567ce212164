#pragma once

#include "core/formats/FileSet.h"
#include "core/formats/PortableRecipe.h"

#include <QJsonObject>

#include <optional>

// schema.org Recipe in JSON-LD as files: a .json file holding one recipe, a
// list or an @graph, a saved web page, and folders and zip files of them
// with their pictures beside them.
namespace SchemaFiles {

// The names a folder or zip file is read for.
bool isRecipeFile(const QString& name);
bool isPictureFile(const QString& name);

// Every recipe of every recipe file in `set`, in its order. A picture is
// taken when the recipe names one inside the set by a relative address.
// `shown` names the file or folder in messages.
ReadResult read(FileSet& set, const ReadOptions& options, const QString& shown);

// The JSON-LD object written for a recipe. Besides the standard properties
// it holds the cookbook's exact texts, which the standard ones cannot carry
// (line breaks, spacing, markup-like text, free-text times).
// `pictureName` is the picture's name beside the file; empty without.
QJsonObject toJson(const PortableRecipe& r, const QString& pictureName);

// The recipe a JSON-LD Recipe object stands for, without its picture;
// nothing when it has no name. The exact texts are taken when they still
// agree with the standard properties, so a file edited by another program is
// read by what it now says.
std::optional<PortableRecipe> fromJson(const QJsonObject& o);

} // namespace SchemaFiles
