#include "core/print/PageWriter.h"

namespace PageWriter {

QString withCharacterReferences(const QString& html)
{
    const QString missing = TextFile::unencodable(html);
    if (missing.isEmpty())
        return html;
    QString out;
    out.reserve(html.size() + 8 * missing.size());
    const qsizetype n = html.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = html.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && html.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(html.at(i), html.at(i + 1));
            ++i;
        } else if (QChar::isSurrogate(c))
            c = 0xFFFD; // a lone half has no byte either
        const QString ch = QStringView(QChar::fromUcs4(c)).toString(); // keeps a U+FEFF
        if (missing.contains(ch))
            out += QLatin1String("&#") + QString::number(quint32(c)) + QLatin1Char(';');
        else
            out += ch;
    }
    return out;
}

TextFile::WriteResult write(const QString& path, const QString& html)
{
    return TextFile::writeExact(path, withCharacterReferences(html));
}

} // namespace PageWriter
