#include "core/search/SeekEngine.h"

#include "core/db/TextRules.h"
#include "core/search/SeekRules.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace SeekEngine {

namespace {

struct Hit {
    qint32 rid;
    bool nullTitle;
    std::string title; // UTF-8 as stored
};

// The recipe list's order, ORDER BY Titel COLLATE SV, RID: a null title first.
bool listOrder(const Hit& a, const Hit& b)
{
    if (a.nullTitle != b.nullTitle)
        return a.nullTitle;
    const int c
        = TextRules::compareUtf8(a.title.data(), int(a.title.size()), b.title.data(), int(b.title.size()));
    return c != 0 ? c < 0 : a.rid < b.rid;
}

// Puts the hits in list order by walking `order`; false when a hit is not in it.
bool orderBy(const std::vector<Hit>& hits, const Catalogue::RecipeRows& order, Result& r)
{
    std::vector<qint32> ids;
    ids.reserve(hits.size());
    for (const Hit& h : hits)
        ids.push_back(h.rid);
    std::sort(ids.begin(), ids.end());
    r.ids.reserve(qsizetype(ids.size()));
    r.titles.reserve(qsizetype(ids.size()));
    for (qsizetype i = 0; i < order.ids.size() && r.ids.size() < qsizetype(ids.size()); ++i) {
        if (std::binary_search(ids.begin(), ids.end(), order.ids.at(i))) {
            r.ids.append(order.ids.at(i));
            r.titles.append(order.titles.at(i));
        }
    }
    if (r.ids.size() == qsizetype(ids.size()))
        return true;
    r.ids.clear();
    r.titles.clear();
    return false;
}

template <class RowTest>
DbResult<Result> scan(
    Database& db, const RowTest& test, const Progress& progress, const Catalogue::RecipeRows* order)
{
    Result r;
    // Counted first so the bar has its end before the first row arrives.
    const auto count = db.scalar("SELECT count(*) FROM tblRecept;");
    if (!count)
        return count.error();
    r.total = int(std::clamp<qint64>(count->toLongLong(), 0, INT_MAX));

    // Rows in stored order stream at once; sorting the whole table by title
    // first would leave the window frozen before the first row. Only the hits
    // are put in order, afterwards.
    DbResult<Statement> prepared = db.prepare("SELECT RID, Titel, Ingredienser FROM tblRecept;");
    if (!prepared)
        return prepared.error();
    Statement& st = *prepared;
    std::vector<Hit> hits;
    while (st.next()) {
        int bytes = 0;
        const char* text = st.utf8(2, &bytes);
        if (test.matches(text, bytes)) {
            const char* title = st.utf8(1, &bytes);
            hits.push_back(
                { st.int32(0), title == nullptr, title ? std::string(title, bytes) : std::string() });
        }
        if (r.examined < INT_MAX)
            ++r.examined;
        if (progress && !progress(std::min(r.examined, r.total), r.total)) {
            r.cancelled = true;
            break;
        }
    }
    if (st.failed())
        return st.error();

    if (order && orderBy(hits, *order, r))
        return r;
    // Many hits take a moment to order; the caller's window keeps being told.
    unsigned compares = 0;
    std::sort(hits.begin(), hits.end(), [&](const Hit& a, const Hit& b) {
        if (progress && (++compares & 1023) == 0)
            progress(std::min(r.examined, r.total), r.total);
        return listOrder(a, b);
    });
    r.ids.reserve(qsizetype(hits.size()));
    r.titles.reserve(qsizetype(hits.size()));
    for (const Hit& h : hits) {
        r.ids.append(h.rid);
        r.titles.append(
            h.nullTitle ? QString() : QString::fromUtf8(h.title.data(), qsizetype(h.title.size())));
    }
    return r;
}

} // namespace

DbResult<Result> ingredients(Database& db, Rule rule, const QStringList& entries, const Progress& progress,
    const Catalogue::RecipeRows* order)
{
    if (rule == Rule::Cookable)
        return scan(db, SeekRules::Cookable(entries), progress, order);
    return scan(db, SeekRules::AnyIngredient(entries), progress, order);
}

QString freeTextPattern(const QString& text)
{
    QString t = text;
    // Quotes once broke the query text; they still stand for any character.
    t.replace(u'"', u'?');
    t.replace(u'\'', u'?');
    return QLatin1Char('*') + t + QLatin1Char('*');
}

DbResult<Result> freeText(Database& db, const QString& text)
{
    Result r;
    DbResult<Statement> st
        = db.prepare("SELECT RID, Titel FROM tblRecept WHERE Titel LIKE ?1 OR "
                     "Ingredienser LIKE ?1 OR Anvisningar LIKE ?1 ORDER BY Titel COLLATE SV, RID;");
    if (!st)
        return st.error();
    st->bind(1, freeTextPattern(text));
    while (st->next()) {
        r.ids.append(st->int32(0));
        r.titles.append(st->text(1));
    }
    if (st->failed())
        return st->error();
    return r;
}

} // namespace SeekEngine
