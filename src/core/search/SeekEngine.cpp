#include "core/search/SeekEngine.h"

#include "core/db/TextRules.h"
#include "core/search/SeekRules.h"

#include <QHash>

#include <algorithm>
#include <climits>
#include <vector>

namespace SeekEngine {

namespace {

// Progress is told this often; a call per recipe would cost more than the test.
constexpr int ProgressEvery = 1024;

// Walks the kept text in number order, testing each recipe.
template <class RowTest>
Tested testRows(const KeptText& kept, bool readingStopped, const Progress& progress, const RowTest& test)
{
    Tested r;
    r.cancelled = readingStopped;
    r.total = kept.size();
    for (int i = 0; i < kept.size(); ++i) {
        if (!r.cancelled && progress && i % ProgressEvery == 0 && i > 0 && !progress(i, r.total)) {
            r.cancelled = true;
            break;
        }
        const KeptText::Row& row = kept.row(i);
        if (test(row))
            r.rids.push_back(row.rid);
        r.examined = i + 1;
    }
    if (progress && !r.cancelled)
        progress(r.examined, r.total);
    return r;
}

template <class RowTest>
DbResult<Result> scan(
    KeptText& kept, Catalogue::TitleOrder& order, const Progress& progress, const RowTest& test)
{
    const auto built = kept.update(progress);
    if (!built.ok())
        return built.error();
    return inListOrder(order, testRows(kept, !built.value(), progress, test));
}

template <class Work> auto withIngredientRule(Rule rule, const QStringList& entries, const Work& work)
{
    if (rule == Rule::Cookable)
        return work(SeekRules::Cookable(entries));
    return work(SeekRules::AnyIngredient(entries));
}

} // namespace

DbResult<Result> inListOrder(Catalogue::TitleOrder& order, const Tested& tested)
{
    Result r;
    r.cancelled = tested.cancelled;
    r.examined = tested.examined;
    r.total = tested.total;
    // Hits in list order: a walk over the list order, marking hits by number.
    const auto all = order.get();
    if (!all)
        return all.error();
    const Catalogue::RecipeRows& rows = **all;
    if (tested.rids.empty())
        return r;
    std::vector<bool> hit(std::size_t(tested.rids.back()) + 1);
    for (qint32 rid : tested.rids)
        hit[std::size_t(rid)] = true;
    r.ids.reserve(qsizetype(tested.rids.size()));
    r.titles.reserve(qsizetype(tested.rids.size()));
    for (qsizetype i = 0; i < rows.ids.size(); ++i) {
        const qint32 rid = rows.ids.at(i);
        if (rid >= 0 && std::size_t(rid) < hit.size() && hit[std::size_t(rid)]) {
            r.ids.append(rid);
            r.titles.append(rows.titles.at(i));
        }
    }
    return r;
}

Tested testIngredients(const KeptText& kept, Rule rule, const QStringList& entries, bool readingStopped,
    const Progress& progress)
{
    return withIngredientRule(rule, entries, [&](const auto& test) {
        return testRows(kept, readingStopped, progress, [&](const KeptText::Row& row) {
            return test.matchesFolded(kept.text(row, KeptText::Ingredients));
        });
    });
}

DbResult<Result> ingredients(KeptText& kept, Catalogue::TitleOrder& order, Rule rule,
    const QStringList& entries, const Progress& progress)
{
    return withIngredientRule(rule, entries, [&](const auto& test) {
        return scan(kept, order, progress, [&](const KeptText::Row& row) {
            return test.matchesFolded(kept.text(row, KeptText::Ingredients));
        });
    });
}

QString freeTextPattern(const QString& text)
{
    QString t = text;
    // Quotes once broke the query text; they still stand for any character.
    t.replace(u'"', u'?');
    t.replace(u'\'', u'?');
    return QLatin1Char('*') + t + QLatin1Char('*');
}

DbResult<Result> freeText(
    KeptText& kept, Catalogue::TitleOrder& order, const QString& text, const Progress& progress)
{
    const TextRules::LikePattern pattern(freeTextPattern(text));
    // As "Titel LIKE p OR Ingredienser LIKE p OR Anvisningar LIKE p": a NULL
    // column matches nothing.
    return scan(kept, order, progress, [&](const KeptText::Row& row) {
        for (auto c : { KeptText::Title, KeptText::Ingredients, KeptText::Instructions })
            if (!kept.isNull(row, c) && pattern.matchesFolded(kept.text(row, c)))
                return true;
        return false;
    });
}

DbResult<MissingResult> missingOne(
    KeptText& kept, Catalogue::TitleOrder& order, const QStringList& entries, const Progress& progress)
{
    const SeekRules::MissingOne test(entries);
    QHash<qint32, int> lines;
    auto found = scan(kept, order, progress, [&](const KeptText::Row& row) {
        const int line = test.missingLineFolded(kept.text(row, KeptText::Ingredients));
        if (line >= 0)
            lines.insert(row.rid, line);
        return line >= 0;
    });
    if (!found)
        return found.error();
    MissingResult r { std::move(*found), {} };
    r.lineNumbers.reserve(r.found.ids.size());
    for (qint32 rid : std::as_const(r.found.ids))
        r.lineNumbers.append(lines.value(rid, -1));
    return r;
}

DbResult<QStringList> missingLines(Database& db, const MissingResult& result)
{
    QStringList lines;
    lines.reserve(result.found.ids.size());
    for (qsizetype i = 0; i < result.found.ids.size(); ++i) {
        const auto recipe = Catalogue::loadRecipe(db, result.found.ids.at(i));
        if (!recipe)
            return recipe.error();
        const QString text = *recipe ? (*recipe)->ingredienser : QString();
        lines << SeekRules::MissingOne::lineAt(text, result.lineNumbers.value(i, -1));
    }
    return lines;
}

Tested testMissingOne(
    const KeptText& kept, const QStringList& entries, bool readingStopped, const Progress& progress)
{
    const SeekRules::MissingOne test(entries);
    std::vector<int> lines;
    Tested t = testRows(kept, readingStopped, progress, [&](const KeptText::Row& row) {
        const int line = test.missingLineFolded(kept.text(row, KeptText::Ingredients));
        if (line >= 0)
            lines.push_back(line);
        return line >= 0;
    });
    t.lines = std::move(lines);
    return t;
}

DbResult<Result> missingOneInListOrder(Database& db, Catalogue::TitleOrder& order, const Tested& tested)
{
    auto found = inListOrder(order, tested);
    if (!found)
        return found.error();
    QHash<qint32, int> lineOf;
    for (std::size_t i = 0; i < tested.rids.size() && i < tested.lines.size(); ++i)
        lineOf.insert(tested.rids[i], tested.lines[i]);
    MissingResult m { std::move(*found), {} };
    m.lineNumbers.reserve(m.found.ids.size());
    for (qint32 rid : std::as_const(m.found.ids))
        m.lineNumbers.append(lineOf.value(rid, -1));
    const auto lines = missingLines(db, m);
    if (!lines)
        return lines.error();
    for (qsizetype i = 0; i < m.found.titles.size(); ++i)
        m.found.titles[i] = missingOneRow(m.found.titles.at(i), lines->value(i));
    return std::move(m.found);
}

QString missingOneRow(const QString& title, const QString& line)
{
    return title + QStringLiteral(" (saknar: ") + line + u')';
}

} // namespace SeekEngine
