#include "search/SeekEngine.h"

#include "search/SeekRules.h"

#include <algorithm>
#include <climits>

namespace SeekEngine {

namespace {

Result failed(Database& db, Result r)
{
    r.ids.clear();
    r.titles.clear();
    r.error = db.lastError();
    return r;
}

template <class RowTest> Result scan(Database& db, const RowTest& test, const Progress& progress)
{
    Result r;
    // Counted first so the bar has its end before the first row arrives.
    const auto count = db.scalar("SELECT count(*) FROM tblRecept;");
    if (!count)
        return failed(db, std::move(r));
    r.total = int(std::clamp<qint64>(count->toLongLong(), 0, INT_MAX));

    Statement st = db.prepare("SELECT RID, Titel, Ingredienser FROM tblRecept ORDER BY Titel COLLATE SV, RID;");
    if (!st.isValid())
        return failed(db, std::move(r));
    while (st.next()) {
        int bytes = 0;
        const char* text = st.utf8(2, &bytes);
        if (test.matches(text, bytes)) {
            r.ids.append(st.int32(0));
            r.titles.append(st.text(1));
        }
        if (r.examined < INT_MAX)
            ++r.examined;
        if (progress && !progress(std::min(r.examined, r.total), r.total)) {
            r.cancelled = true;
            return r;
        }
    }
    if (st.failed())
        return failed(db, std::move(r));
    return r;
}

} // namespace

Result ingredients(Database& db, Rule rule, const QStringList& entries, const Progress& progress)
{
    if (rule == Rule::Cookable)
        return scan(db, SeekRules::Cookable(entries), progress);
    return scan(db, SeekRules::AnyIngredient(entries), progress);
}

QString freeTextPattern(const QString& text)
{
    QString t = text;
    // Quotes once broke the query text; they still stand for any character.
    t.replace(u'"', u'?');
    t.replace(u'\'', u'?');
    return QLatin1Char('*') + t + QLatin1Char('*');
}

Result freeText(Database& db, const QString& text)
{
    Result r;
    Statement st = db.prepare("SELECT RID, Titel FROM tblRecept WHERE Titel LIKE ?1 OR Ingredienser LIKE ?1 "
                              "OR Anvisningar LIKE ?1 ORDER BY Titel COLLATE SV, RID;");
    if (!st.isValid())
        return failed(db, std::move(r));
    st.bind(1, freeTextPattern(text));
    while (st.next()) {
        r.ids.append(st.int32(0));
        r.titles.append(st.text(1));
    }
    if (st.failed())
        return failed(db, std::move(r));
    return r;
}

} // namespace SeekEngine
