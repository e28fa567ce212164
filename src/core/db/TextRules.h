#pragma once

#include "core/db/LikePattern.h"

#include <QString>
#include <QStringView>

#include <string>

struct sqlite3;

// How the cookbook compares and matches text: case-insensitive, Swedish
// alphabet order, and the LIKE wildcards the users know (* ? # [...]).
namespace TextRules {

// Registers the collation "SV" and replaces the SQL functions like(X,Y) and
// like(X,Y,Z) on the connection. In the three-argument form the escape
// character makes the character after it literal (outside [...]).
bool registerOn(sqlite3* db);

// Swedish order, case-insensitive: <0, 0, >0. Letters sort a..z, å, ä, ö
// (æ as ä, ø as ö, ü as y, other accented Latin letters as their base
// letter). Texts equal but for accents are ordered by code point, so only
// texts that differ in case alone compare equal.
int compare(QStringView a, QStringView b);
// The same rule straight on UTF-8; invalid bytes compare as themselves.
int compareUtf8(const char* a, int na, const char* b, int nb);

// Stored UTF-8 as the text it was stored from. Unlike QString::fromUtf8, a
// byte order mark at the start is kept rather than dropped.
QString fromUtf8(const char* s, qsizetype n);

// Case folding into UTF-8. Clears `out` first. Invalid bytes are copied as-is.
void foldUtf8(const char* s, int n, std::string& out);
std::string foldUtf8(QStringView s);
// Folds onto the end of `out`; returns the bytes added.
std::size_t appendFoldedUtf8(const char* s, std::size_t n, std::string& out);

// Whole-text match, case-insensitive. `*` any run, `?` one character, `#` one
// digit, `[abc]` `[a-z]` `[!abc]` one of (or none of) a set; ranges follow the
// Swedish alphabet, accents ignored. An unclosed `[` is a literal `[`.
bool like(QStringView text, QStringView pattern);

} // namespace TextRules
