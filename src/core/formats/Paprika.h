#pragma once

#include "core/formats/FileSet.h"
#include "core/formats/PortableRecipe.h"

#include <QJsonObject>

// Paprika's archives (.paprikarecipes): a zip file of gzip-compressed JSON
// objects, one per recipe (.paprikarecipe), the picture inside as base64.
namespace Paprika {

bool isRecipeEntry(const QString& name);

// Every recipe of the set's entries, in its order.
ReadResult read(FileSet& set, const ReadOptions& options, const QString& shown);

// One recipe's JSON object; nothing without a name. A picture that does not
// decode, or is of no known type, is left out.
std::optional<PortableRecipe> fromJson(const QJsonObject& o);

} // namespace Paprika
