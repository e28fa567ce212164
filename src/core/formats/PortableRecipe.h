#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A recipe on its way into or out of the cookbook, whatever file it comes
// from or goes to. Texts are in the cookbook's form: multi-line texts end
// their lines with CR LF, and a missing value is the empty text.
struct PortableRecipe {
    QString title;
    // The category names the file gives, in its order; the cookbook keeps one.
    QStringList categories;
    // The category's number in the cookbook that wrote the file (the
    // program's own recipe files only).
    std::optional<qint32> categoryNumber;
    QString portions;
    QString time;
    QString ingredients;
    QString instructions;
    // The picture's bytes as the file holds them, and their type by content
    // ("jpg", "gif", "bmp", "png" or "webp"); both empty without a picture.
    QByteArray picture;
    QString pictureType;
    // Where the recipe came from, for messages ("kokbok.mmf, recept 3").
    QString origin;

    // Every field but the origin.
    bool sameContent(const PortableRecipe& other) const;
};

// Bounds on what a reader takes in. The defaults are far above any real
// cookbook and far below what would exhaust the machine.
struct FormatLimits {
    qint64 fileBytes = 256LL << 20;
    int recipes = 100000;
    // Entries of a zip file, files of a folder.
    int entries = 100000;
    // One unpacked entry or file, and all of them together.
    qint64 entryBytes = 64LL << 20;
    qint64 totalBytes = 1LL << 30;
    int folderDepth = 8;
    qsizetype textChars = 1 << 20;
    qint64 pictureBytes = 16LL << 20;
};

struct ReadOptions {
    FormatLimits limits;
    // Called now and then with the work done and the whole (recipes, entries
    // or bytes); false stops the reading, which then fails.
    std::function<bool(qint64 done, qint64 total)> progress;
};

// The recipes of one file, or an error and none: a file is taken whole or
// not at all.
struct ReadResult {
    QList<PortableRecipe> recipes;
    // Empty, or a Swedish sentence naming the file, the recipe and the fault.
    QString error;
    bool ok() const { return error.isEmpty(); }
};

namespace PortableRecipes {

// The picture type of `bytes` by their first bytes; empty when unknown.
QString pictureTypeOf(const QByteArray& bytes);

// "recept 3 ("Kladdkaka")", or "recept 3" without a title.
QString recipeLabel(int number, const QString& title);

// "Filen "x" kunde inte läsas in: <what>"
QString fileError(const QString& file, const QString& what);

// Empty, or what is wrong with a recipe a reader made: no title, a text over
// the bound, a picture over the bound.
QString check(const PortableRecipe& r, const FormatLimits& limits);

// Line ends of a text as the cookbook keeps them: CR LF.
QString crlf(const QString& text);

// False when the reading is to stop.
bool keepGoing(const ReadOptions& options, qint64 done, qint64 total);

// The message of a reading stopped through the progress callback.
QString cancelled(const QString& file);

} // namespace PortableRecipes
