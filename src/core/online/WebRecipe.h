#pragma once

#include <QByteArray>
#include <QJsonObject>
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

namespace WebRecipePage {

// The page's first Recipe: JSON-LD (also inside @graph and arrays), else
// microdata. `contentType` may name the page's character set.
std::optional<WebRecipe> extract(const QByteArray& page, const QByteArray& contentType, const QUrl& pageUrl);

// One Recipe object; nothing when it has no name.
std::optional<WebRecipe> fromJson(const QJsonObject& recipe, const QUrl& pageUrl);

// A value's text with entities decoded and tags removed, line by line, each
// line with its whitespace tidied; empty lines dropped.
QStringList cleanLines(const QString& value);
// The same on one line.
QString cleanText(const QString& value);

} // namespace WebRecipePage
