#include "core/kitchen/Units.h"

#include <QList>

#include <algorithm>
#include <limits>

namespace Units {

namespace {

enum Index { Krm, Tsk, Msk, Dl, L, Cl, Ml, G, Hg, Kg, St, Forp, Paket, Burk };

constexpr double Inf = std::numeric_limits<double>::infinity();
using M = Measure;
using Gr = Grid;

// The volume ladder krm, tsk, msk, dl, l; cl and ml climb into it. Each step's
// limits lie well inside the next unit's, so no amount moves back and forth.
const Unit Table[] = {
    { u"krm", u"kryddmått", u"kryddmått", M::Volume, Gr::Fractions, 1, 0, 5, -1, Tsk, true },
    { u"tsk", u"tesked", u"teskedar", M::Volume, Gr::Fractions, 5, 0.25, 3, Krm, Msk, false },
    { u"msk", u"matsked", u"matskedar", M::Volume, Gr::Fractions, 15, 0.5, 7, Tsk, Dl, false },
    { u"dl", u"deciliter", u"deciliter", M::Volume, Gr::Fractions, 100, 0.25, 10, Msk, L, false },
    { u"l", u"liter", u"liter", M::Volume, Gr::Decimals, 1000, 1, Inf, Dl, -1, false },
    { u"cl", u"centiliter", u"centiliter", M::Volume, Gr::Fractions, 10, 0, 10, -1, Dl, false },
    { u"ml", u"milliliter", u"milliliter", M::Volume, Gr::Whole, 1, 0, 1000, -1, L, false },
    { u"g", u"gram", u"gram", M::Mass, Gr::Whole, 1, 0, 1000, -1, Kg, false },
    { u"hg", u"hekto", u"hekto", M::Mass, Gr::Decimals, 100, 1, 10, G, Kg, false },
    { u"kg", u"kilo", u"kilo", M::Mass, Gr::Decimals, 1000, 1, Inf, G, -1, false },
    { u"st", u"styck", u"stycken", M::Count, Gr::Pieces, 1, 0, Inf, -1, -1, false },
    { u"förp", u"förpackning", u"förpackningar", M::Count, Gr::Pieces, 1, 0, Inf, -1, -1, false },
    { u"pkt", u"paket", u"paket", M::Count, Gr::Pieces, 1, 0, Inf, -1, -1, false },
    { nullptr, u"burk", u"burkar", M::Count, Gr::Pieces, 1, 0, Inf, -1, -1, false },
};

// Pieces that a line names only by word, singular and plural.
const char16_t* const PlainPieces[][2] = {
    { u"klyfta", u"klyftor" },
    { u"kruka", u"krukor" },
    { u"påse", u"påsar" },
    { u"knippe", u"knippen" },
    { u"kvist", u"kvistar" },
    { u"skiva", u"skivor" },
    { u"nypa", u"nypor" },
    { u"ask", u"askar" },
    { u"flaska", u"flaskor" },
    { u"tärning", u"tärningar" },
    { u"blad", u"blad" },
    { u"bit", u"bitar" },
    { u"näve", u"nävar" },
    { u"droppe", u"droppar" },
    { u"klick", u"klickar" },
    { u"stänk", u"stänk" },
    { u"portion", u"portioner" },
    { u"huvud", u"huvuden" },
    { u"stjälk", u"stjälkar" },
    { u"stång", u"stänger" },
    { u"kula", u"kulor" },
    { u"glas", u"glas" },
    { u"kopp", u"koppar" },
    { u"sats", u"satser" },
    { u"bunt", u"buntar" },
    { u"tetra", u"tetror" },
};

// Other spellings of the measures and of the pieces that have an abbreviation.
struct Spelling {
    const char16_t* text;
    int unit;
    Style style;
};
const Spelling OtherSpellings[] = {
    { u"mtsk", Msk, Style::Abbreviation },
    { u"lit", L, Style::Abbreviation },
    { u"gr", G, Style::Abbreviation },
    { u"kilogram", Kg, Style::Word },
    { u"hektogram", Hg, Style::Word },
    { u"paket", Paket, Style::Word },
};

struct Form {
    QString text; // lower case
    int unit;
    Style style;
};

struct Tables {
    QList<Unit> units;
    QList<Form> forms; // longest first
};

const Tables& tables()
{
    static const Tables t = [] {
        Tables t;
        for (const Unit& u : Table)
            t.units << u;
        for (const auto& p : PlainPieces)
            t.units << Unit { nullptr, p[0], p[1], M::Count, Gr::Pieces, 1, 0, Inf, -1, -1, false };
        for (int i = 0; i < t.units.size(); ++i) {
            const Unit& u = t.units.at(i);
            if (u.abbreviation)
                t.forms << Form { QString::fromUtf16(u.abbreviation), i, Style::Abbreviation };
            // "paket" is both; its abbreviation is "pkt".
            if (i != Paket) {
                t.forms << Form { QString::fromUtf16(u.singular), i, Style::Word };
                if (QStringView(u.plural) != QStringView(u.singular))
                    t.forms << Form { QString::fromUtf16(u.plural), i, Style::Word };
            }
        }
        for (const Spelling& s : OtherSpellings)
            t.forms << Form { QString::fromUtf16(s.text), s.unit, s.style };
        std::stable_sort(t.forms.begin(), t.forms.end(),
            [](const Form& a, const Form& b) { return a.text.size() > b.text.size(); });
        return t;
    }();
    return t;
}

} // namespace

int count()
{
    return int(tables().units.size());
}

const Unit& unit(int index)
{
    return tables().units.at(index);
}

Found find(QStringView text)
{
    for (const Form& f : tables().forms) {
        if (!text.startsWith(f.text, Qt::CaseInsensitive))
            continue;
        if (text.size() > f.text.size() && text.at(f.text.size()).isLetterOrNumber())
            continue;
        return { f.unit, f.style, f.text.size() };
    }
    return {};
}

QString written(int index, Style style, double value)
{
    const Unit& u = unit(index);
    if (style == Style::Abbreviation && u.abbreviation)
        return QString::fromUtf16(u.abbreviation);
    // "1 ½ burk" but "2 burkar".
    return QString::fromUtf16(value < 2 ? u.singular : u.plural);
}

int byName(QStringView name)
{
    for (int i = 0; i < count(); ++i) {
        const Unit& u = unit(i);
        if ((u.abbreviation && name == QStringView(u.abbreviation)) || name == QStringView(u.singular))
            return i;
    }
    return -1;
}

} // namespace Units
