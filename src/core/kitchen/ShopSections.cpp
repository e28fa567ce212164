#include "core/kitchen/ShopSections.h"

#include <QFile>

// The word list lives in this static library; without this the linker may
// drop it.
static void initKitchenResources()
{
    Q_INIT_RESOURCE(kitchen);
}

const QStringList& ShopSections::names()
{
    static const QStringList n { QStringLiteral("Frukt och grönt"), QStringLiteral("Mejeri och ägg"),
        QStringLiteral("Kött och fisk"), QStringLiteral("Bröd och spannmål"), QStringLiteral("Skafferi"),
        QStringLiteral("Kryddor"), QStringLiteral("Frys"), QStringLiteral("Övrigt") };
    return n;
}

ShopSections::ShopSections(const QString& wordList)
{
    int section = -1;
    int number = 0;
    for (const QString& raw : wordList.split(u'\n')) {
        ++number;
        const QString line = raw.section(u'#', 0, 0).simplified();
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = int(names().indexOf(line.mid(1, line.size() - 2)));
            if (section < 0)
                m_problems << QStringLiteral("rad %1: okänd avdelning %2").arg(number).arg(line);
            continue;
        }
        if (section < 0) {
            m_problems << QStringLiteral("rad %1: ord utan avdelning").arg(number);
            continue;
        }
        add(line.toLower(), section, number);
    }
}

void ShopSections::add(const QString& word, int section, int lineNumber)
{
    const bool marker = word.startsWith(u'=');
    QHash<QString, int>& table = marker ? m_markers : m_endings;
    const QString text = marker ? word.mid(1) : word;
    if (text.isEmpty())
        return;
    if (const auto at = table.constFind(text); at != table.constEnd()) {
        if (*at != section)
            m_problems << QStringLiteral("rad %1: %2 står redan under %3")
                              .arg(lineNumber)
                              .arg(text, names().at(*at));
        return;
    }
    table.insert(text, section);
}

const ShopSections& ShopSections::shipped()
{
    static const ShopSections s = [] {
        initKitchenResources();
        QFile f(QStringLiteral(":/kitchen/avdelningar.txt"));
        return ShopSections(f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString());
    }();
    return s;
}

int ShopSections::sectionOf(QStringView ingredient) const
{
    QStringList words = ingredient.toString().toLower().split(u' ', Qt::SkipEmptyParts);
    for (const QString& w : std::as_const(words))
        if (const auto at = m_markers.constFind(w); at != m_markers.constEnd())
            return *at;
    while (!words.isEmpty()) {
        const QString name = words.join(u' ');
        // From the longest ending to the shortest.
        for (qsizetype from = 0; from < name.size(); ++from)
            if (const auto at = m_endings.constFind(name.mid(from)); at != m_endings.constEnd())
                return *at;
        words.removeLast();
    }
    return other();
}

QList<ShopSections::Section> ShopSections::arrange(const QList<ShoppingSum::Line>& lines) const
{
    QList<Section> all;
    for (const QString& n : names())
        all << Section { n, {} };
    for (const ShoppingSum::Line& line : lines)
        all[sectionOf(line.key)].lines << line;
    all.removeIf([](const Section& s) { return s.lines.isEmpty(); });
    return all;
}

QString ShopSections::plainText(const QList<Section>& sections)
{
    QStringList blocks;
    for (const Section& s : sections) {
        QString block = s.name + u'\n';
        for (const ShoppingSum::Line& line : s.lines)
            block += QStringLiteral("- ") + line.text + u'\n';
        blocks << block;
    }
    return blocks.join(u'\n');
}
