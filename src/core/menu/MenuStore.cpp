#include "core/menu/MenuStore.h"

#include "core/db/TextRules.h"
#include "core/menu/MenuSlots.h"

#include <utility>

namespace MenuStore {

DbResult<QList<Plan>> ListaMatsedlar(Database& db)
{
    DbResult<Statement> st = db.prepare("SELECT uid, namn FROM matsedel ORDER BY namn COLLATE SV, uid;");
    if (!st)
        return st.error();
    QList<Plan> plans;
    while (st->next())
        plans.append({ st->int32(0), st->text(1) });
    if (st->failed())
        return st->error();
    return plans;
}

DbStatus save(Database& db, const QString& name, const QStringList& titles)
{
    const QString week = MenuSlots::encode(titles);
    // Names compare as the cookbook's titles do; of stored twins the oldest is kept up to date.
    if (DbStatus s = db.execute("UPDATE matsedel SET middag = ?2 WHERE uid = "
                                "(SELECT min(uid) FROM matsedel WHERE namn = ?1 COLLATE SV);",
            { name, week });
        !s)
        return s;
    if (db.changes() > 0)
        return dbOk();
    return db.execute("INSERT INTO matsedel (namn, middag) VALUES (?1, ?2);", { name, week });
}

DbResult<std::optional<QStringList>> load(Database& db, qint32 uid)
{
    DbResult<Statement> st = db.prepare("SELECT middag FROM matsedel WHERE uid = ?1;");
    if (!st)
        return st.error();
    st->bind(1, uid);
    if (!st->next()) {
        if (st->failed())
            return st->error();
        return std::optional<QStringList>();
    }
    return std::optional<QStringList>(MenuSlots::decode(st->text(0)));
}

DbStatus remove(Database& db, qint32 uid)
{
    return db.execute("DELETE FROM matsedel WHERE uid = ?1;", { uid });
}

bool followInWeek(QStringList& titles, const QString& oldTitle, const QString& newTitle)
{
    bool named = false;
    for (QString& t : titles) {
        if (TextRules::compare(t, oldTitle) == 0) {
            t = newTitle;
            named = true;
        }
    }
    return named;
}

DbStatus followTitle(Database& db, const QString& oldTitle, const QString& newTitle)
{
    DbResult<Statement> st = db.prepare("SELECT uid, middag FROM matsedel ORDER BY uid;");
    if (!st)
        return st.error();
    QList<std::pair<qint32, QString>> changed;
    while (st->next()) {
        QStringList titles = MenuSlots::decode(st->text(1));
        if (followInWeek(titles, oldTitle, newTitle))
            changed.append({ st->int32(0), MenuSlots::encode(titles) });
    }
    if (st->failed())
        return st->error();
    for (const auto& [uid, week] : changed)
        if (DbStatus s = db.execute("UPDATE matsedel SET middag = ?1 WHERE uid = ?2;", { week, uid }); !s)
            return s;
    return dbOk();
}

} // namespace MenuStore
