#pragma once

#include "core/formats/PortableRecipe.h"

#include <QByteArray>
#include <QList>

// The program's own recipe files: tagged blocks (<titel>, <kategori>,
// <portioner>, <tid>, <ingredienser>, <anvisningar>) in Windows-1252, read
// by the same reader as a downloaded recipe file.
//
// What Windows-1252 cannot hold is written as a numeric character reference
// ("&#8364;" style, the code point in decimal). So that any text comes back,
// "&" before "#" is written "&#38;" and "<" before a letter or "/" (which
// could be read as a tag) "&#60;". Reading turns back exactly those
// references and leaves every other "&#...;" as text, as older files mean it.
// Beside the category's number a file carries its name ("<kategorinamn>"),
// which a cookbook with other numbers matches by.
namespace TaggedFiles {

QString escape(const QString& text);
QString unescape(const QString& text);

// Whether the bytes hold a "<titel>" tag.
bool looksLike(const QByteArray& bytes);

// The file's bytes, never mistaken for UTF-8. A recipe without a category
// number gets 0.
QByteArray bytes(const QList<PortableRecipe>& recipes);

// Every block, or an error naming the first malformed one and none. Text
// that is valid UTF-8 is read as such, other text as Windows-1252.
ReadResult read(const QByteArray& bytes, const ReadOptions& options, const QString& shown);

} // namespace TaggedFiles
