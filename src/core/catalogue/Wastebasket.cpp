#include "core/catalogue/Wastebasket.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Pictures.h"
#include "core/db/TextRules.h"

#include <string>
#include <unordered_set>

namespace Wastebasket {

namespace {

// The recipe's columns are kept without a type, so every value comes back
// exactly as it was stored (text, NULL or anything an older program left).
const char* const Schema = "CREATE TABLE IF NOT EXISTS papperskorg (uid INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "RID INTEGER, Kategori, KategoriNamn, Titel, AntalPersoner, Tid, Ingredienser, "
                           "Anvisningar, Raderad INTEGER, Omgang INTEGER, Bild BLOB, BildTyp TEXT);";

DbStatus undo(Database& db, const DbError& e)
{
    db.rollback();
    return e;
}

DbStatus commitOrUndo(Database& db)
{
    if (DbStatus s = db.commit(); !s)
        return undo(db, s.error());
    return dbOk();
}

DbError pictureError(const Pictures::Result& r)
{
    return { r.error, DbCode::IoErr };
}

DbResult<bool> exists(Database& db)
{
    return db.hasTable(QStringLiteral("papperskorg"));
}

QVariant orNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

QVariant orNull(const QByteArray& b)
{
    return b.isNull() ? QVariant() : QVariant(b);
}

// Moves one recipe in; nothing when there is no such recipe.
DbStatus moveIn(Database& db, const QString& pictureFolder, qint32 rid, qint64 stamp, qint32 batch)
{
    Pictures::Picture picture;
    if (const Pictures::Result r = Pictures::readPicture(pictureFolder, rid, &picture); !r.ok)
        return pictureError(r);
    if (DbStatus s = db.execute(
            "INSERT INTO papperskorg (RID, Kategori, KategoriNamn, Titel, AntalPersoner, Tid, Ingredienser, "
            "Anvisningar, Raderad, Omgang, Bild, BildTyp) "
            "SELECT r.RID, r.Kategori, k.Kategori, r.Titel, r.AntalPersoner, r.Tid, r.Ingredienser, "
            "r.Anvisningar, ?2, ?3, ?4, ?5 FROM tblRecept r LEFT JOIN tblKategorier k ON k.KID = r.Kategori "
            "WHERE r.RID = ?1;",
            { rid, stamp, batch, orNull(picture.bytes), orNull(picture.type) });
        !s)
        return s;
    return db.execute("DELETE FROM tblRecept WHERE RID = ?1;", { rid });
}

} // namespace

DbStatus ensure(Database& db)
{
    return db.exec(Schema);
}

DbStatus deleteRecipes(
    Database& db, const QString& pictureFolder, const QVector<qint32>& rids, const QDateTime& now)
{
    if (rids.isEmpty())
        return dbOk();
    if (DbStatus s = db.begin(); !s)
        return s;
    if (DbStatus s = ensure(db); !s)
        return undo(db, s.error());
    const auto batch = db.scalar("SELECT coalesce(max(Omgang), 0) + 1 FROM papperskorg;");
    if (!batch)
        return undo(db, batch.error());
    for (qint32 rid : rids)
        if (DbStatus s = moveIn(db, pictureFolder, rid, now.toSecsSinceEpoch(), batch->toInt()); !s)
            return undo(db, s.error());
    return commitOrUndo(db);
}

DbResult<QList<Entry>> entries(Database& db)
{
    const auto there = exists(db);
    if (!there.ok())
        return there.error();
    if (!*there)
        return QList<Entry>();
    auto st = db.prepare(
        "SELECT uid, RID, Titel, KategoriNamn, Raderad, Omgang FROM papperskorg ORDER BY uid DESC;");
    if (!st)
        return st.error();
    QList<Entry> out;
    while (st->next())
        out.append({ st->int32(0), st->int32(1), st->text(2), st->text(3),
            QDateTime::fromSecsSinceEpoch(st->int64(4), Qt::UTC), st->int32(5) });
    if (st->failed())
        return st->error();
    return out;
}

DbResult<bool> isEmpty(Database& db)
{
    const auto there = exists(db);
    if (!there.ok() || !*there)
        return there.ok() ? DbResult<bool>(true) : there.error();
    const auto any = db.scalar("SELECT uid FROM papperskorg LIMIT 1;");
    if (!any)
        return any.error();
    return any->isNull();
}

namespace {

struct Restoring {
    Database& db;
    QString pictureFolder;
    // The titles before the restore: recipes restored together keep theirs.
    std::unordered_set<std::string> titles;
    QVector<qint32> written;
};

// The category to restore into: its own while it exists, else the oldest of
// its name, else one made under that name. A recipe that had none keeps its number.
DbResult<QVariant> categoryFor(Database& db, const QVariant& kid, const QVariant& name)
{
    if (!kid.isNull()) {
        const auto there = db.scalar("SELECT count(*) FROM tblKategorier WHERE KID = ?1;", { kid });
        if (!there)
            return there.error();
        if (there->toInt() > 0)
            return kid;
    }
    if (name.isNull())
        return kid;
    const auto named = Catalogue::categoryNamed(db, name.toString());
    if (!named)
        return named.error();
    if (*named)
        return QVariant(**named);
    const auto added = Catalogue::addCategory(db, name.toString());
    if (!added)
        return added.error();
    return QVariant(*added);
}

QVariant freeTitle(const Restoring& r, const QVariant& titel)
{
    if (titel.isNull())
        return titel;
    const QString t = titel.toString();
    return r.titles.count(TextRules::foldUtf8(t)) ? QVariant(titel.toString() + QStringLiteral(" kopia"))
                                                  : titel;
}

// Puts one entry back; 0 when it is no longer there.
DbResult<qint32> restoreOne(Restoring& r, qint32 id)
{
    auto st = r.db.prepare("SELECT RID, Kategori, KategoriNamn, Titel, AntalPersoner, Tid, Ingredienser, "
                           "Anvisningar, Bild, BildTyp FROM papperskorg WHERE uid = ?1;");
    if (!st)
        return st.error();
    st->bind(1, id);
    if (!st->next())
        return st->failed() ? DbResult<qint32>(st->error()) : DbResult<qint32>(0);
    const QVariant rid = st->value(0);
    const auto kid = categoryFor(r.db, st->value(1), st->value(2));
    if (!kid)
        return kid.error();
    const auto taken = r.db.scalar("SELECT count(*) FROM tblRecept WHERE RID = ?1;", { rid });
    if (!taken)
        return taken.error();
    if (DbStatus s = r.db.execute("INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, "
                                  "Ingredienser, Anvisningar) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7);",
            { taken->toInt() > 0 ? QVariant() : rid, freeTitle(r, st->value(3)), *kid, st->value(4),
                st->value(5), st->value(6), st->value(7) });
        !s)
        return s.error();
    const qint32 now = qint32(r.db.lastInsertId());
    const Pictures::Picture picture { st->isNull(9) ? QString() : st->text(9), st->value(8).toByteArray() };
    st = Statement();
    r.written.append(now);
    if (const Pictures::Result p = Pictures::putPicture(r.pictureFolder, now, picture); !p.ok)
        return pictureError(p);
    if (DbStatus s = r.db.execute("DELETE FROM papperskorg WHERE uid = ?1;", { id }); !s)
        return s.error();
    return now;
}

} // namespace

DbResult<QVector<qint32>> restore(Database& db, const QString& pictureFolder, const QVector<qint32>& ids)
{
    const auto there = exists(db);
    if (!there.ok())
        return there.error();
    if (!*there || ids.isEmpty())
        return QVector<qint32>();
    if (DbStatus s = db.begin(); !s)
        return s.error();
    auto titles = Catalogue::foldedTitles(db);
    if (!titles)
        return undo(db, titles.error()).error();
    Restoring r { db, pictureFolder, std::move(*titles), {} };
    QVector<qint32> rids;
    DbStatus result = dbOk();
    for (qint32 id : ids) {
        const auto rid = restoreOne(r, id);
        if (!rid) {
            result = rid.error();
            break;
        }
        if (*rid != 0)
            rids.append(*rid);
    }
    if (result.ok())
        result = db.commit();
    if (result.ok())
        return rids;
    db.rollback();
    // The numbers are free again: what was written for them must not stay.
    for (qint32 rid : r.written)
        Pictures::removeAllPictures(pictureFolder, rid);
    return result.error();
}

DbResult<QVector<qint32>> restoreLastBatch(Database& db, const QString& pictureFolder)
{
    const auto there = exists(db);
    if (!there.ok())
        return there.error();
    if (!*there)
        return QVector<qint32>();
    auto st = db.prepare("SELECT uid FROM papperskorg WHERE Omgang = (SELECT max(Omgang) FROM papperskorg) "
                         "ORDER BY uid;");
    if (!st)
        return st.error();
    QVector<qint32> ids;
    while (st->next())
        ids.append(st->int32(0));
    if (st->failed())
        return st->error();
    st = Statement();
    return restore(db, pictureFolder, ids);
}

DbStatus empty(Database& db)
{
    const auto there = exists(db);
    if (!there.ok())
        return there.error();
    return *there ? db.execute("DELETE FROM papperskorg WHERE uid IS NOT NULL;") : dbOk();
}

DbResult<int> purge(Database& db, const QDateTime& now)
{
    // Read first: a start with nothing to throw away writes nothing (and so
    // makes no backup of the day).
    const auto there = exists(db);
    if (!there.ok() || !*there)
        return there.ok() ? DbResult<int>(0) : there.error();
    const qint64 cutoff = now.toSecsSinceEpoch() - qint64(KeptDays) * 24 * 60 * 60;
    const auto old = db.scalar("SELECT count(*) FROM papperskorg WHERE Raderad < ?1;", { cutoff });
    if (!old)
        return old.error();
    if (old->toInt() == 0)
        return 0;
    if (DbStatus s = db.execute("DELETE FROM papperskorg WHERE Raderad < ?1;", { cutoff }); !s)
        return s.error();
    return db.changes();
}

} // namespace Wastebasket
