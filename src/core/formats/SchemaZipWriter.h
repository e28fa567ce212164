#pragma once

#include "core/formats/PortableRecipe.h"
#include "core/formats/ZipWriter.h"

#include <QSet>

// A zip file of schema.org JSON-LD: one .json file per recipe, its picture
// beside it under the same name, both named by the recipe's number in the
// file and its title ("0001-kladdkaka.json", "0001-kladdkaka.jpg"). Recipes
// go in one at a time, so a whole cookbook never sits in memory.
class SchemaZipWriter {
public:
    explicit SchemaZipWriter(const QString& path);

    bool add(const PortableRecipe& r);
    // Puts the file in place; until then an old file of that name stays.
    bool finish();
    QString error() const { return m_zip.error(); }

    // The name part made of a title: ASCII letters and digits, lower case,
    // the rest as single dashes.
    static QString slug(const QString& title);

private:
    ZipWriter m_zip;
    int m_count = 0;
};
