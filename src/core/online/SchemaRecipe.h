#pragma once

#include "core/online/WebRecipe.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QUrl>

#include <optional>

// schema.org Recipe objects (JSON-LD) read into the cookbook's form, wherever
// they come from: a web page, a saved page, a .json file.
namespace SchemaRecipe {

// Nesting followed into JSON and microdata; real recipes need a handful.
constexpr int MaxDepth = 32;

// JSON as pages write it: strict JSON, else with the raw line breaks inside
// strings that pages often leave there written as escapes.
QJsonDocument parseJson(const QByteArray& text);

// The Recipe objects below a JSON value (itself, in arrays, in @graph), in
// document order, at most `max`.
QList<QJsonObject> findRecipes(const QJsonValue& v, qsizetype max);

// One Recipe object; nothing when it has no name. The picture address is
// resolved against `base` and kept only when it is http or https.
std::optional<WebRecipe> fromJson(const QJsonObject& recipe, const QUrl& base);

// The picture address a Recipe's image value names, unresolved: the largest
// when sizes are given, else the first; empty when none.
QString imageReference(const QJsonValue& image);

} // namespace SchemaRecipe
