#pragma once

// The property every reader of other programs' recipe files is fuzzed
// with: a file is taken whole or not at all, and what was accepted comes
// back unchanged through both writers (JSON-LD with pictures beside it, and
// the program's own recipe file).
#include "core/formats/FileSet.h"
#include "core/formats/SchemaFiles.h"
#include "core/formats/TaggedFiles.h"

#include <QJsonDocument>

#include <cstdlib>

inline void checkAccepted(const ReadResult& read)
{
    if (!read.ok()) {
        if (!read.recipes.isEmpty())
            std::abort();
        return;
    }
    MemoryFileSet set;
    for (int i = 0; i < read.recipes.size(); ++i) {
        const PortableRecipe& r = read.recipes.at(i);
        if (r.title.trimmed().isEmpty() || r.origin.isEmpty()
            || r.picture.isEmpty() != r.pictureType.isEmpty())
            std::abort();
        const QString name = QString::number(i);
        const QString picture = r.picture.isEmpty() ? QString() : name + QLatin1Char('.') + r.pictureType;
        set.add(name + QStringLiteral(".json"), QJsonDocument(SchemaFiles::toJson(r, picture)).toJson());
        if (!picture.isEmpty())
            set.add(picture, r.picture);
    }
    const ReadResult json = SchemaFiles::read(set, {}, QStringLiteral("fuzz"));
    const ReadResult own = TaggedFiles::read(TaggedFiles::bytes(read.recipes), {}, QStringLiteral("fuzz"));
    if (json.recipes.size() != read.recipes.size() || own.recipes.size() != read.recipes.size())
        std::abort();
    for (int i = 0; i < read.recipes.size(); ++i) {
        PortableRecipe expected = read.recipes.at(i);
        expected.categoryNumber.reset();
        if (!json.recipes.at(i).sameContent(expected))
            std::abort();
        expected.categoryNumber = read.recipes.at(i).categoryNumber.value_or(0);
        expected.categories = expected.categories.mid(0, 1);
        expected.picture.clear();
        expected.pictureType.clear();
        if (!own.recipes.at(i).sameContent(expected))
            std::abort();
    }
}
