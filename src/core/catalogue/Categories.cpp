#include "core/catalogue/Categories.h"

namespace Categories {

DbResult<qint32> addCategory(Database& db, const QString& name)
{
    if (DbStatus s = db.execute("INSERT INTO tblKategorier (Kategori) VALUES (?1);", { name }); !s)
        return s.error();
    return qint32(db.lastInsertId());
}

DbResult<bool> renameCategory(Database& db, qint32 kid, const QString& name)
{
    if (DbStatus s = db.execute("UPDATE tblKategorier SET Kategori=?1 WHERE KID=?2;", { name, kid }); !s)
        return s.error();
    return db.changes() > 0;
}

} // namespace Categories
