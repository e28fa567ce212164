#include "WebPageBench.h"

#include "core/online/HtmlNesting.h"
#include "core/online/HtmlTree.h"
#include "core/online/WebRecipe.h"

#include <QElapsedTimer>
#include <cstdio>
#include <functional>

namespace {

constexpr qsizetype Limit = 5 * 1024 * 1024;

const QByteArray recipe = R"(<script type="application/ld+json">{"@type":"Recipe","name":"Pannkakor",)"
                          R"("recipeIngredient":["3 dl mjöl"],"recipeInstructions":"Vispa."}</script>)";

// `head` once, `unit` repeated until the page nearly reaches `size`.
QByteArray page(const QByteArray& head, const std::function<QByteArray(int)>& unit, qsizetype size)
{
    QByteArray p = "<!DOCTYPE html><html><head>" + recipe + "</head><body>" + head;
    for (int i = 0; p.size() < size - 200; ++i)
        p += unit(i);
    return p;
}

QByteArray same(const char* s)
{
    return QByteArray(s);
}

} // namespace

bool runWebPageBench()
{
    struct Case {
        const char* name;
        QByteArray html;
    };
    const auto fixed = [](const char* s) { return [s](int) { return same(s); }; };
    const Case cases[] = {
        { "tables_4000", page("", fixed("<table><tr><td>"), 4000 * 15) },
        { "divs_50000", page("", fixed("<div>"), 50000 * 5) },
        { "divs_5mb", page("", fixed("<div>"), Limit) },
        { "tables_5mb", page("", fixed("<table><tr><td>"), Limit) },
        { "div_table_cell_5mb", page("", fixed("<div><table><tr><td></div>"), Limit) },
        { "list_items_5mb", page("<ul>", fixed("<li>x"), Limit) },
        { "paragraphs_deep_5mb", page(QByteArray("<div>").repeated(150), fixed("<p>x"), Limit) },
        { "bold_5mb",
            page(
                "", [](int i) { return "<b id=" + QByteArray::number(i) + ">"; }, Limit) },
        { "bold_reopened_5mb",
            page(
                "", [](int i) { return "<p><b id=" + QByteArray::number(i) + ">x</p>"; }, Limit) },
        { "attributes_5mb",
            page(
                "<div ", [](int i) { return "a" + QByteArray::number(i) + " "; }, Limit) },
        { "attributes_each_tag_5mb",
            page(
                "",
                [](int i) {
                    return "<b " + QByteArray("a=1 b=2 c=3 ").repeated(10) + QByteArray::number(i) + "></b>";
                },
                Limit) },
        { "svg_5mb", page("<svg>", fixed("<g>"), Limit) },
    };
    bool ok = true;
    for (const Case& c : cases) {
        if (!qEnvironmentVariableIsEmpty("WEBBENCH") && !QByteArray(c.name).contains(qgetenv("WEBBENCH")))
            continue;
        QElapsedTimer t;
        t.start();
        const qsizetype kept = HtmlNesting::bounded(c.html).size();
        const double bound = double(t.nsecsElapsed()) / 1e9;
        t.restart();
        {
            const HtmlTree::Document d(c.html);
        }
        const double parsed = double(t.nsecsElapsed()) / 1e9;
        t.restart();
        const auto r = WebRecipePage::extract(c.html, "text/html; charset=utf-8", QUrl("https://x.se/"));
        std::printf("web_%s (%.1f MB, %.1f MB kept, bound in %.3f s, parsed in %.3f s): %.4f\n", c.name,
            double(c.html.size()) / 1048576.0, double(kept) / 1048576.0, bound, parsed,
            double(t.nsecsElapsed()) / 1e9);
        std::fflush(stdout);
        ok = ok && r && r->name == QLatin1String("Pannkakor");
    }
    return ok;
}
