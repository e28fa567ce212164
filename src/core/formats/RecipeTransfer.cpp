#include "core/formats/RecipeTransfer.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/ImportBatch.h"
#include "core/catalogue/Pictures.h"
#include "core/db/TextRules.h"
#include "core/formats/RecipeFiles.h"
#include "core/formats/SchemaZipWriter.h"
#include "core/formats/TaggedFiles.h"
#include "core/text/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace RecipeTransfer {

namespace {

const QStringList ShownPictureTypes { QStringLiteral("gif"), QStringLiteral("jpg"), QStringLiteral("bmp") };

// Categories by name for one file: each name looked up or created once.
class CategoryChooser {
public:
    CategoryChooser(Database& db, const ImportChoice& choice)
        : m_db(db)
        , m_choice(choice)
    {
    }

    DbResult<qint32> forRecipe(const PortableRecipe& r)
    {
        if (!m_choice.category.isEmpty())
            return named(m_choice.category, true);
        if (const DbResult<std::optional<qint32>> kid = byNumber(r); !kid || *kid)
            return kid ? **kid : DbResult<qint32>(kid.error());
        for (const QString& name : r.categories) {
            if (name.trimmed().isEmpty())
                continue;
            const DbResult<std::optional<qint32>> kid = existing(name);
            if (!kid)
                return kid.error();
            if (*kid)
                return **kid;
        }
        if (m_choice.fallback)
            return *m_choice.fallback;
        for (const QString& name : r.categories)
            if (!name.trimmed().isEmpty())
                return named(name, true);
        return named(DefaultCategory, true);
    }

    // A recipe file of the older kind names its category by number only, as
    // a download does: the number counts when the cookbook has it.
    DbResult<std::optional<qint32>> byNumber(const PortableRecipe& r)
    {
        const bool hasName = std::any_of(r.categories.cbegin(), r.categories.cend(),
            [](const QString& name) { return !name.trimmed().isEmpty(); });
        if (hasName || r.categoryNumber.value_or(0) <= 0)
            return std::optional<qint32>();
        if (!m_numbers) {
            const auto all = Catalogue::allCategories(m_db);
            if (!all)
                return all.error();
            m_numbers.emplace();
            for (const Catalogue::Category& c : *all)
                m_numbers->insert(c.kid);
        }
        return m_numbers->contains(*r.categoryNumber) ? r.categoryNumber : std::nullopt;
    }

    DbResult<std::optional<qint32>> existing(const QString& name)
    {
        const QString key = QString::fromStdString(TextRules::foldUtf8(name));
        if (auto it = m_known.constFind(key); it != m_known.constEnd())
            return std::optional<qint32>(*it);
        const auto kid = Catalogue::categoryNamed(m_db, name);
        if (kid && *kid)
            m_known.insert(key, **kid);
        return kid;
    }

    DbResult<qint32> named(const QString& name, bool create)
    {
        const DbResult<std::optional<qint32>> kid = existing(name);
        if (!kid)
            return kid.error();
        if (*kid || !create)
            return kid->value_or(0);
        const DbResult<qint32> added = Catalogue::addCategory(m_db, name);
        if (added)
            m_known.insert(QString::fromStdString(TextRules::foldUtf8(name)), *added);
        return added;
    }

    Database& m_db;
    const ImportChoice& m_choice;
    QHash<QString, qint32> m_known;
    std::optional<QSet<qint32>> m_numbers;
};

// Picture files written for recipes not yet committed, removed on failure.
class PictureFiles {
public:
    explicit PictureFiles(const QString& folder)
        : m_folder(folder)
    {
    }
    ~PictureFiles()
    {
        if (!m_kept)
            for (const QString& f : m_written)
                QFile::remove(f);
    }
    bool add(qint32 rid, const PortableRecipe& r)
    {
        if (r.picture.isEmpty() || !ShownPictureTypes.contains(r.pictureType))
            return true;
        // Another type's file of a reused number would hide this one.
        Pictures::removeAllPictures(m_folder, rid);
        const QString path = QDir(m_folder).filePath(QString::number(rid) + u'.' + r.pictureType);
        if (!AtomicFile::writeAll(path, r.picture))
            return false;
        m_written.append(path);
        return true;
    }
    void keep() { m_kept = true; }

private:
    QString m_folder;
    QStringList m_written;
    bool m_kept = false;
};

QString storeFailure(const PortableRecipe& r, int number, const QString& what)
{
    return QStringLiteral("Recepten i %1 kunde inte sparas (%2): %3 Inget recept från filen har sparats.")
        .arg(r.origin.isEmpty() ? QStringLiteral("filen") : r.origin.section(u',', 0, 0),
            PortableRecipes::recipeLabel(number, r.title), what);
}

} // namespace

ImportResult store(
    Database& db, const QString& pictureFolder, const ReadResult& read, const ImportChoice& choice)
{
    ImportResult result;
    if (!read.ok()) {
        result.error = read.error;
        return result;
    }
    ImportBatch batch(db);
    if (DbStatus s = batch.begin(); !s) {
        result.error = QStringLiteral("Recepten kunde inte sparas.\n\n") + s.error().describe();
        return result;
    }
    CategoryChooser categories(db, choice);
    PictureFiles pictures(pictureFolder);
    for (int i = 0; i < read.recipes.size(); ++i) {
        const PortableRecipe& r = read.recipes.at(i);
        auto fail = [&](const QString& what) {
            result = {};
            result.error = storeFailure(r, i + 1, what);
            return result;
        };
        const DbResult<qint32> kid = categories.forRecipe(r);
        if (!kid)
            return fail(kid.error().describe());
        const DbResult<qint32> rid
            = batch.add(*kid, { r.title, r.portions, r.time, r.ingredients, r.instructions });
        if (!rid)
            return fail(rid.error().describe());
        if (!pictures.add(*rid, r))
            return fail(QStringLiteral("bilden kunde inte sparas i %1.")
                            .arg(QDir::toNativeSeparators(pictureFolder)));
        result.added.append(*rid);
    }
    if (DbStatus s = batch.commit(); !s) {
        result = {};
        result.error = QStringLiteral("Recepten kunde inte sparas.\n\n") + s.error().describe();
        return result;
    }
    pictures.keep();
    for (qint32 rid : std::as_const(result.added))
        if (const auto stored = Catalogue::loadRecipe(db, rid); stored && *stored)
            result.titles.append((*stored)->titel);
    // The batch changes a title only by adding " kopia".
    for (qsizetype i = 0; i < result.titles.size(); ++i)
        if (result.titles.at(i) != read.recipes.at(i).title)
            ++result.copies;
    return result;
}

DbResult<Unmatched> unmatched(Database& db, const ReadResult& read)
{
    Unmatched u;
    const ImportChoice none;
    CategoryChooser chooser(db, none);
    QSet<QString> seen;
    for (const PortableRecipe& r : read.recipes) {
        const DbResult<std::optional<qint32>> numbered = chooser.byNumber(r);
        if (!numbered)
            return numbered.error();
        if (*numbered)
            continue;
        QStringList names;
        for (const QString& name : r.categories)
            if (!name.trimmed().isEmpty())
                names.append(name);
        bool found = false;
        for (const QString& name : names.isEmpty() ? QStringList { DefaultCategory } : names) {
            const DbResult<std::optional<qint32>> kid = chooser.existing(name);
            if (!kid)
                return kid.error();
            found = found || kid->has_value();
        }
        if (found)
            continue;
        ++u.recipes;
        const QString first = names.value(0, DefaultCategory);
        const QString key = QString::fromStdString(TextRules::foldUtf8(first));
        if (!seen.contains(key)) {
            seen.insert(key);
            u.names.append(first);
        }
    }
    return u;
}

void Tally::add(const ImportResult& r)
{
    if (!r.ok()) {
        faults.append(r.error);
        return;
    }
    imported += int(r.added.size());
    copies += r.copies;
}

QString Tally::text() const
{
    QStringList parts;
    parts << (stopped
            ? QStringLiteral("Importen avbröts: %1 recept importerades. Inget recept från filen som "
                             "lästes då har sparats.")
            : QStringLiteral("Importen är klar: %1 recept importerades."))
                 .arg(imported);
    if (copies > 0)
        parts << QStringLiteral("%1 av dem fick \" kopia\" i titeln, eftersom kokboken redan hade titeln.")
                     .arg(copies);
    parts << faults;
    return parts.join(QStringLiteral("\n\n"));
}

ImportResult importFile(Database& db, const QString& pictureFolder, const QString& path,
    const ImportChoice& choice, const ReadOptions& options)
{
    return store(db, pictureFolder, RecipeFiles::read(path, options), choice);
}

Selection select(Database& db, const QString& category)
{
    Selection s;
    std::optional<qint32> kid;
    if (!category.isEmpty()) {
        const auto found = Catalogue::categoryNamed(db, category);
        if (!found) {
            s.error = found.error().describe();
            return s;
        }
        if (!*found) {
            s.error = QStringLiteral("Det finns ingen kategori som heter \"%1\".").arg(category);
            return s;
        }
        kid = *found;
    }
    const auto rids = Catalogue::recipeNumbers(db, kid);
    if (!rids)
        s.error = rids.error().describe();
    else
        s.rids = *rids;
    return s;
}

namespace {

DbResult<PortableRecipe> portable(Database& db, const QString& pictureFolder, qint32 rid)
{
    const auto loaded = Catalogue::storedRecipe(db, rid);
    if (!loaded)
        return loaded.error();
    PortableRecipe p;
    if (!*loaded)
        return p;
    const Catalogue::Recipe& r = **loaded;
    p.title = r.titel;
    if (r.hasCategory)
        p.categories = QStringList { r.kategoriNamn };
    p.categoryNumber = r.kategori;
    p.portions = r.antalPersoner;
    p.time = r.tid;
    p.ingredients = r.ingredienser;
    p.instructions = r.anvisningar;
    const QString picture = Pictures::ReceptBildFil(pictureFolder, rid);
    QFile f(picture);
    if (!picture.isEmpty() && f.open(QIODevice::ReadOnly)) {
        p.picture = f.readAll();
        p.pictureType = QFileInfo(picture).suffix().toLower();
    }
    return p;
}

} // namespace

ExportResult exportRecipes(Database& db, const QString& pictureFolder, const QVector<qint32>& rids,
    const QString& path, const std::function<bool(qint64, qint64)>& progress)
{
    ExportResult result;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool zip = suffix == QLatin1String("zip");
    if (!zip && suffix != QLatin1String("rcp")) {
        result.error = QStringLiteral("Recept kan bara sparas som .zip eller .rcp.");
        return result;
    }
    const QString cannot = QStringLiteral("Filen %1 kunde inte sparas.").arg(QDir::toNativeSeparators(path));
    std::optional<SchemaZipWriter> writer;
    if (zip)
        writer.emplace(path);
    QList<PortableRecipe> tagged;
    for (qsizetype i = 0; i < rids.size(); ++i) {
        if (progress && !progress(i, rids.size())) {
            result.error = QStringLiteral("Exporten avbröts. Filen %1 har inte sparats.")
                               .arg(QDir::toNativeSeparators(path));
            return result;
        }
        const DbResult<PortableRecipe> r = portable(db, pictureFolder, rids.at(i));
        if (!r) {
            result.error = cannot + QStringLiteral("\n\n") + r.error().describe();
            return result;
        }
        if (r->title.isEmpty() && !r->categoryNumber)
            continue; // deleted meanwhile
        if (zip && !writer->add(*r)) {
            result.error = writer->error().isEmpty() ? cannot : writer->error();
            return result;
        }
        if (!zip)
            tagged.append(*r);
        ++result.count;
    }
    const bool written = zip ? writer->finish() : AtomicFile::writeAll(path, TaggedFiles::bytes(tagged));
    if (!written) {
        result.error = zip && !writer->error().isEmpty() ? writer->error() : cannot;
        result.count = 0;
    }
    return result;
}

} // namespace RecipeTransfer
