#pragma once

#include "core/db/Database.h"

#include <QList>
#include <QString>
#include <QVector>

// Tagged recipe files (.rcp): blocks of <titel>, <kategori>, <portioner>,
// <tid>, <ingredienser> and <anvisningar>, each value the exact text between
// its tags.
namespace ReceptImport {

// The file a recipe download leaves for the import.
inline const QString TempFileName = QStringLiteral("tmpRecept.txt");

struct Block {
    QString titel;
    QString kategori;
    QString portioner;
    QString tid;
    QString ingredienser;
    QString anvisningar;
    // The category's name, which files this program writes carry beside the
    // number in an element of their own ("<kategorinamn>"); empty when the
    // block has none. Older readers pass over it as text between elements.
    QString kategorinamn;
};

struct Parsed {
    // The well-formed blocks before the first malformed one.
    QList<Block> blocks;
    // Empty, or a Swedish sentence naming the malformed block and element.
    QString error;
};

// Reads every block. A block is "<titel>" up to its "</anvisningar>"; text
// between blocks is ignored and tags match exactly (case counts).
Parsed parse(const QString& text);

// The download's test of a fetched file: its first line holds "<titel>", in
// any case, once the bytes are decoded as ImportRecept decodes them.
bool firstLineHasTitel(const QByteArray& bytes);

struct Result {
    // Numbers of the recipes added, in file order.
    QVector<qint32> added;
    // Empty, or a Swedish message for the user.
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Stores one recipe; a title the cookbook already has gets " kopia", and
// empty values stay NULL. Returns its number.
DbResult<qint32> addRecipe(Database& db, const Block& b);

// Adds the blocks of a file's text. A title the cookbook already has gets
// " kopia". A malformed block stops the import there; the blocks before it
// are stored. Each recipe is stored whole or not at all.
Result importText(Database& db, const QString& text);

// Reads tmpRecept.txt from the program folder (as a file a user may have
// written, see UserFile: the maker's Windows-1252 and UTF-8 alike), imports
// it and deletes it.
Result ImportRecept(Database& db, const QString& programFolder);

// The largest recipe file the program takes in.
constexpr qint64 FileLimit = 5 * 1024 * 1024;

} // namespace ReceptImport
