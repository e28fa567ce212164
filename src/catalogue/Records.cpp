#include "catalogue/Records.h"

#include "catalogue/Catalogue.h"

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

SaveResult saveRecipe(Database& db, qint32 rid, const Fields& f)
{
    const auto same = db.scalar("SELECT count(*) FROM tblRecept WHERE Titel = ?1 COLLATE SV;", { f.titel });
    if (!same)
        return SaveResult::Failed;
    const QString titel = same->toInt() > 1 ? f.titel + QStringLiteral(" kopia") : f.titel;
    if (!db.execute("UPDATE tblRecept SET Anvisningar = ?1, Ingredienser = ?2, AntalPersoner = ?3, Tid = ?4, "
                    "Titel = ?5 WHERE RID = ?6;",
            { orNull(f.anvisningar, true), orNull(f.ingredienser, true), orNull(f.antalPersoner, false),
                orNull(f.tid, false), titel, rid }))
        return SaveResult::Failed;
    return db.changes() == 0 ? SaveResult::NotFound : SaveResult::Saved;
}

std::optional<qint32> addRecipe(Database& db, qint32 kid, const Fields& f)
{
    if (!db.execute("INSERT INTO tblRecept (Kategori, Titel, Anvisningar, Ingredienser, AntalPersoner, Tid) "
                    "VALUES (?1, ?2, ?3, ?4, ?5, ?6);",
            { kid, f.titel, orNull(f.anvisningar, true), orNull(f.ingredienser, true),
                orNull(f.antalPersoner, false), orNull(f.tid, false) }))
        return std::nullopt;
    return qint32(db.lastInsertId());
}

bool deleteRecipes(Database& db, const QVector<qint32>& rids)
{
    if (!db.begin())
        return false;
    Statement st = db.prepare("DELETE FROM tblRecept WHERE RID = ?1;");
    if (!st.isValid()) {
        db.rollback();
        return false;
    }
    for (qint32 rid : rids) {
        st.reset();
        st.bind(1, rid);
        st.next();
        if (st.failed()) {
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        db.rollback();
        return false;
    }
    return true;
}

bool changeCategory(Database& db, qint32 rid, qint32 kid)
{
    return db.execute("UPDATE tblRecept SET Kategori = ?1 WHERE RID = ?2;", { kid, rid });
}

} // namespace Records
