#pragma once

#include "core/kitchen/ShoppingSum.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Where in the shop an ingredient is found, from a list of Swedish food
// words, so the shopping list follows a walk through the shop.
class ShopSections {
public:
    // "Frukt och grönt" ... "Frys", then "Övrigt" for what no word names.
    static const QStringList& names();
    static int other() { return int(names().size()) - 1; }

    // A word list: a line "[Mejeri och ägg]" starts a section, each line after
    // it is one word in lower case; "=frysta" is a word that decides wherever it
    // stands in a name ("frysta ärter"); "#" starts a comment. Lines under an
    // unknown section, and a word given to a second section, are skipped and
    // noted in problems().
    explicit ShopSections(const QString& wordList);
    // The list the program carries.
    static const ShopSections& shipped();

    // The section for an ingredient (see ShoppingSum::ingredientKey). The last
    // part of a compound decides: the longest word that the name ends with
    // ("vetemjöl" is flour, "fläsklägg" meat, "lingonsylt" jam); when none
    // fits, words from the end are dropped ("smör till stekning" is butter).
    int sectionOf(QStringView ingredient) const;

    struct Section {
        QString name;
        QList<ShoppingSum::Line> lines;
    };
    // The lines under their sections, in shop order; within a section in
    // list order. Sections without lines are left out.
    QList<Section> arrange(const QList<ShoppingSum::Line>& lines) const;
    // As plain text for a phone: each section's name, its lines after "- ",
    // a blank line between sections; lines end in LF.
    static QString plainText(const QList<Section>& sections);

    int wordCount() const { return int(m_endings.size() + m_markers.size()); }
    const QStringList& problems() const { return m_problems; }

private:
    void add(const QString& word, int section, int lineNumber);

    QHash<QString, int> m_endings;
    QHash<QString, int> m_markers;
    QStringList m_problems;
};
