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

Catalogue::StoredFields stored(const Fields& f, const QString& titel, bool convertLines)
{
    return { titel, orNull(f.antalPersoner, false), orNull(f.tid, false),
        orNull(f.ingredienser, convertLines), orNull(f.anvisningar, convertLines) };
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

namespace {

DbResult<bool> store(Database& db, qint32 rid, const Fields& f, const TitleFollower& follower)
{
    const auto before = Catalogue::loadRecipe(db, rid);
    if (!before)
        return before.error();
    if (!*before)
        return false;
    const auto same = Catalogue::countTitled(db, f.titel);
    if (!same)
        return same.error();
    const QString titel = *same > 1 ? f.titel + QStringLiteral(" kopia") : f.titel;
    const auto updated = Catalogue::updateRecipe(db, rid, stored(f, titel, true));
    if (!updated.ok() || !*updated)
        return updated;
    // An empty title names nothing anyone could have followed.
    const QString& old = (*before)->titel;
    if (!follower || old == titel || old.trimmed().isEmpty())
        return true;
    const auto left = Catalogue::countTitled(db, old);
    if (!left)
        return left.error();
    if (*left > 0)
        return true;
    if (DbStatus s = follower(db, old, titel); !s)
        return s.error();
    return true;
}

} // namespace

DbResult<bool> saveRecipe(Database& db, qint32 rid, const Fields& f, const TitleFollower& follower)
{
    if (DbStatus s = db.begin(); !s)
        return s.error();
    auto saved = store(db, rid, f, follower);
    if (!saved.ok()) {
        db.rollback();
        return saved;
    }
    if (DbStatus s = db.commit(); !s) {
        db.rollback();
        return s.error();
    }
    return saved;
}

DbResult<qint32> addRecipe(Database& db, qint32 kid, const Fields& f)
{
    return Catalogue::insertRecipe(db, kid, stored(f, f.titel, true));
}

DbResult<qint32> addImported(Database& db, qint32 kid, const Fields& f)
{
    const auto same = Catalogue::countTitled(db, f.titel);
    if (!same)
        return same.error();
    const QString titel = *same > 0 ? f.titel + QStringLiteral(" kopia") : f.titel;
    return Catalogue::insertRecipe(db, kid, stored(f, titel, false));
}

DbStatus deleteRecipes(Database& db, const QVector<qint32>& rids)
{
    return Catalogue::deleteRecipes(db, rids);
}

DbResult<bool> changeCategory(Database& db, qint32 rid, qint32 kid)
{
    return Catalogue::setCategory(db, rid, kid);
}

} // namespace Records
