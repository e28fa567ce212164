#include "core/catalogue/Records.h"

#include "core/catalogue/Catalogue.h"

namespace Records {

namespace {

// An empty field is stored as NULL, never as an empty text.
QVariant orNull(const QString& s, bool multiLine)
{
    if (s.isEmpty())
        return QVariant();
    return multiLine ? Catalogue::toStored(s) : s;
}

} // namespace

QString overlongField(const Fields& f)
{
    if (f.titel.size() > MaxLineLength)
        return QStringLiteral("Titel");
    if (f.antalPersoner.size() > MaxLineLength)
        return QStringLiteral("Portioner");
    if (f.tid.size() > MaxLineLength)
        return QStringLiteral("Tid");
    return {};
}

DbResult<bool> saveRecipe(Database& db, qint32 rid, const Fields& f)
{
    const auto same = db.scalar("SELECT count(*) FROM tblRecept WHERE Titel = ?1 COLLATE SV;", { f.titel });
    if (!same)
        return same.error();
    const QString titel = same->toInt() > 1 ? f.titel + QStringLiteral(" kopia") : f.titel;
    if (DbStatus s
        = db.execute("UPDATE tblRecept SET Anvisningar = ?1, Ingredienser = ?2, AntalPersoner = ?3, "
                     "Tid = ?4, Titel = ?5 WHERE RID = ?6;",
            { orNull(f.anvisningar, true), orNull(f.ingredienser, true), orNull(f.antalPersoner, false),
                orNull(f.tid, false), titel, rid });
        !s)
        return s.error();
    return db.changes() > 0;
}

DbResult<qint32> addRecipe(Database& db, qint32 kid, const Fields& f)
{
    if (DbStatus s = db.execute("INSERT INTO tblRecept (Kategori, Titel, Anvisningar, Ingredienser, "
                                "AntalPersoner, Tid) VALUES (?1, ?2, ?3, ?4, ?5, ?6);",
            { kid, f.titel, orNull(f.anvisningar, true), orNull(f.ingredienser, true),
                orNull(f.antalPersoner, false), orNull(f.tid, false) });
        !s)
        return s.error();
    return qint32(db.lastInsertId());
}

DbStatus deleteRecipes(Database& db, const QVector<qint32>& rids)
{
    if (DbStatus s = db.begin(); !s)
        return s;
    auto undo = [&](const DbError& e) -> DbStatus {
        db.rollback();
        return e;
    };
    DbResult<Statement> st = db.prepare("DELETE FROM tblRecept WHERE RID = ?1;");
    if (!st)
        return undo(st.error());
    for (qint32 rid : rids) {
        st->reset();
        st->bind(1, rid);
        if (DbStatus s = st->run(); !s)
            return undo(s.error());
    }
    if (DbStatus s = db.commit(); !s)
        return undo(s.error());
    return dbOk();
}

DbResult<bool> changeCategory(Database& db, qint32 rid, qint32 kid)
{
    if (DbStatus s = db.execute("UPDATE tblRecept SET Kategori = ?1 WHERE RID = ?2;", { kid, rid }); !s)
        return s.error();
    return db.changes() > 0;
}

} // namespace Records
