#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <optional>

// A recipe as a web page describes it (schema.org Recipe), already in the
// cookbook's form: plain tidy text, the time in Swedish, numbered steps.
struct WebRecipe {
    QString name;
    QString yield;
    QString time;
    // The page's category names, in its order.
    QStringList categories;
    QStringList ingredients;
    // Numbered steps, and the names of step sections as lines of their own.
    QStringList instructions;
    QUrl image;

    bool operator==(const WebRecipe&) const = default;
};

// The page reader: the schema.org data (JSON-LD blocks, microdata) of an
// HTML page. The objects it finds are read by SchemaRecipe.
namespace WebRecipePage {

// The page's first Recipe: JSON-LD (also inside @graph and arrays), else
// microdata. `contentType` may name the page's character set.
std::optional<WebRecipe> extract(const QByteArray& page, const QByteArray& contentType, const QUrl& pageUrl);

// Every Recipe object of the page, at most `max`: those of its JSON-LD
// blocks in page order, or when there are none, its microdata recipes as the
// JSON-LD objects they stand for.
QList<QJsonObject> recipeObjects(const QByteArray& page, const QByteArray& contentType, qsizetype max);

} // namespace WebRecipePage
