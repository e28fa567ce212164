#include "core/catalogue/ImportBatch.h"

#include "core/catalogue/Catalogue.h"
#include "core/db/TextRules.h"

namespace {

QVariant orNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

} // namespace

ImportBatch::ImportBatch(Database& db)
    : m_db(db)
{
}

ImportBatch::~ImportBatch()
{
    rollback();
}

DbStatus ImportBatch::begin()
{
    if (DbStatus s = m_db.begin(); !s)
        return s;
    m_open = true;
    auto titles = Catalogue::foldedTitles(m_db);
    if (!titles) {
        rollback();
        return titles.error();
    }
    m_titles = std::move(*titles);
    return dbOk();
}

DbResult<qint32> ImportBatch::add(qint32 kid, const Records::Fields& f)
{
    const bool taken = m_titles.count(TextRules::foldUtf8(f.titel)) > 0;
    const QString titel = taken ? f.titel + QStringLiteral(" kopia") : f.titel;
    const DbResult<qint32> rid = Catalogue::insertRecipe(m_db, kid,
        { titel, orNull(f.antalPersoner), orNull(f.tid), orNull(f.ingredienser), orNull(f.anvisningar) });
    if (rid)
        m_titles.insert(taken ? TextRules::foldUtf8(titel) : TextRules::foldUtf8(f.titel));
    return rid;
}

DbStatus ImportBatch::commit()
{
    if (!m_open)
        return dbOk();
    m_open = false;
    if (DbStatus s = m_db.commit(); !s) {
        m_db.rollback();
        return s;
    }
    return dbOk();
}

void ImportBatch::rollback()
{
    if (m_open)
        m_db.rollback();
    m_open = false;
}
