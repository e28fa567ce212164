#include "core/online/HtmlText.h"

#include "core/online/HtmlTree.h"

#include <QRegularExpression>

namespace HtmlText {

QStringList tidyLines(const QString& text)
{
    QStringList out;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    for (QString line : text.split(lineEnd)) {
        // Soft hyphens and zero-width marks would hide in titles and searches.
        line.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
        for (QChar& c : line)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
                || c.category() == QChar::Separator_Paragraph)
                c = QLatin1Char(' ');
        line = line.simplified();
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

QStringList cleanLines(const QString& value)
{
    if (!value.contains(QLatin1Char('<')) && !value.contains(QLatin1Char('&')))
        return tidyLines(value);
    const HtmlTree::Document html(value.toUtf8());
    return tidyLines(HtmlTree::textOf(html.root(), true));
}

QString cleanText(const QString& value)
{
    return cleanLines(value).join(QLatin1Char(' '));
}

} // namespace HtmlText
