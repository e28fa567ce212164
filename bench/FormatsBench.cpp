#include "FormatsBench.h"

#include "Generator.h"
#include "core/db/Database.h"
#include "core/formats/RecipeFiles.h"
#include "core/formats/RecipeTransfer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

void print(const char* name, double value)
{
    std::printf("%s: %.4f\n", name, value);
    std::fflush(stdout);
}

// One recipe as MealMaster writes it; every third in code page 437, the
// others in Windows-1252, some ingredients in two columns.
QByteArray mealMasterRecipe(int n, QRandomGenerator& g)
{
    const bool dos = n % 3 == 0;
    const QByteArray ae = dos ? "\x84" : "\xE4";
    const QByteArray oe = dos ? "\x94" : "\xF6";
    QByteArray r = "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n \r\n      Title: Recept "
        + QByteArray::number(n) + " med k" + oe + "tt och gr" + ae
        + "dde\r\n Categories: Middag, Kott\r\n      Yield: 4 servings\r\n \r\n";
    for (int i = 0; i < 6; ++i) {
        const QByteArray left
            = "    " + QByteArray::number(1 + g.bounded(500)) + " g  Ingrediens " + QByteArray::number(i);
        if (i % 2)
            r += left.leftJustified(41, ' ') + "      2 dl Mj" + oe + "lk\r\n";
        else
            r += left + "\r\n";
    }
    r += " \r\n";
    for (int i = 0; i < 5; ++i)
        r += "  Steg " + QByteArray::number(i) + ": r" + oe + "r om och l" + ae
            + "t koka i 10 minuter vid 200 grader.\r\n";
    return r + " \r\nMMMMM\r\n\r\n";
}

// Wall-clock seconds since the last call, and this process's processor
// seconds beside them: on a shared machine the two part.
struct Clock {
    QElapsedTimer wall;
    std::clock_t cpu = std::clock();
    Clock() { wall.start(); }
    void lap(const QString& name)
    {
        const std::clock_t now = std::clock();
        print(qPrintable(name), double(wall.nsecsElapsed()) / 1e9);
        print(qPrintable(name + QStringLiteral("_cpu")), double(now - cpu) / CLOCKS_PER_SEC);
        wall.restart();
        cpu = now;
    }
};

// As an import of the file does: one transaction, categories by name.
bool store(const QString& dbPath, const ReadResult& read)
{
    Database db;
    if (!generateCookbook(dbPath, 0) || !db.openPlain(dbPath))
        return false;
    const QString pictures = QFileInfo(dbPath).dir().filePath(QStringLiteral("bilder"));
    return RecipeTransfer::store(db, pictures, read, {}).added.size() == read.recipes.size();
}

} // namespace

bool runFormatsBench(int recipes)
{
    QTemporaryDir dir;
    const QString mmf = dir.filePath(QStringLiteral("arkiv.mmf"));
    QRandomGenerator g(25);
    QFile f(mmf);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (int n = 1; n <= recipes; ++n)
        f.write(mealMasterRecipe(n, g));
    f.close();
    print("mealmaster_file_mb", double(QFileInfo(mmf).size()) / 1048576.0);
    Clock t;
    const ReadResult read = RecipeFiles::read(mmf);
    t.lap(QStringLiteral("mealmaster_read"));
    print("mealmaster_recipes", double(read.recipes.size()));
    if (!read.ok() || read.recipes.size() != recipes)
        return false;
    if (!store(dir.filePath(QStringLiteral("dbRcp.mdb")), read))
        return false;
    t.lap(QStringLiteral("mealmaster_store_one_transaction"));
    for (const char* suffix : { "zip", "rcp" }) {
        const QString path = dir.filePath(QStringLiteral("export.") + QLatin1String(suffix));
        if (!RecipeFiles::write(path, read.recipes).isEmpty())
            return false;
        t.lap(QStringLiteral("export_write_%1").arg(QLatin1String(suffix)));
        const ReadResult back = RecipeFiles::read(path);
        t.lap(QStringLiteral("export_read_%1").arg(QLatin1String(suffix)));
        if (back.recipes.size() != recipes)
            return false;
    }
    return true;
}
