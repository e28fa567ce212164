// The print template: whatever bytes a template file holds, it reads and writes
// back to the same text; expanding it never loses a recipe value that holds no tag;
// and the page file reads back as written, with nothing lost.
#include "core/print/PageWriter.h"
#include "core/print/PrintPage.h"
#include "core/print/PrintTemplate.h"
#include "core/text/UserFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

// Character references back to characters; what is no reference stays.
QString resolveReferences(const QString& text)
{
    static const QRegularExpression ref(QStringLiteral("&#([0-9]{1,7});"));
    QString out;
    qsizetype last = 0;
    for (auto it = ref.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const uint code = m.captured(1).toUInt();
        out += text.mid(last, m.capturedStart() - last);
        if (code == 0 || code > 0x10FFFF || QChar::isSurrogate(code)) {
            out += m.captured();
        } else {
            out += QStringView(QChar::fromUcs4(code)); // keeps a U+FEFF
        }
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

// The page writer gives a lone surrogate half, which no byte holds, as U+FFFD.
QString withoutLoneHalves(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // In memory where there is such a folder: every write is synced to disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/gastrid-fuzz-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/gastrid-fuzz-XXXXXX"));
    // The template up to the first NUL; after it the five values, split at 0x01.
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype nul = input.indexOf('\0');
    const QByteArray templateBytes = nul < 0 ? input : input.left(nul);
    QList<QByteArray> parts = nul < 0 ? QList<QByteArray>() : input.mid(nul + 1).split('\1');
    while (parts.size() < 5)
        parts.append(QByteArray());

    {
        QFile f(PrintPage::templatePath(dir.path()));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(templateBytes);
    }
    const std::optional<QString> templ = PrintPage::readTemplate(dir.path(), nullptr);
    if (!templ)
        std::abort();
    // Read, then written as read: the same bytes for a Windows-1252 file. One
    // read as UTF-8 writes back to the same text, or is refused for the
    // characters Windows-1252 cannot hold, writing nothing.
    const QString copy = dir.filePath(QStringLiteral("copy.htm"));
    QFile::remove(copy);
    if (*templ == TextFile::fromWindows1252(templateBytes)) {
        if (!TextFile::writeExact(copy, *templ).ok || fileBytes(copy) != templateBytes)
            std::abort();
    } else if (const TextFile::WriteResult w = UserFile::writeExact(copy, *templ); !w.ok) {
        if (w.unencodable.isEmpty() || QFile::exists(copy))
            std::abort();
    } else if (UserFile::readExact(copy, nullptr) != templ) {
        std::abort();
    }

    // A value with no bracket that starts and ends with a small letter can
    // hold no tag, nor become part of one with the text around it.
    QStringList values;
    for (int i = 0; i < 5; ++i) {
        QString v = QString::fromUtf8(parts.at(i));
        v.remove(u'[');
        v.remove(u']');
        v.remove(u'\r');
        values << QLatin1Char('x') + v + QLatin1Char('x');
    }
    const PrintTemplate::Recipe recipe { values[0], values[1], values[2], values[3], values[4] };
    const QString picture = QStringLiteral("/bilder/7.jpg");
    const QString page = PrintTemplate::expand(*templ, recipe, picture).value_or(QString());
    const char* const tags[] = { "[TITEL]", "[PORTIONER]", "[TID]", "[ING]", "[ANV]" };
    for (int i = 0; i < 5; ++i) {
        if (templ->contains(QLatin1String(tags[i])) && !page.contains(values.at(i)))
            std::abort();
    }
    if (templ->contains(QLatin1String("[BILD]")) && !page.contains(PrintTemplate::pictureElement(picture)))
        std::abort();
    if (!templ->contains(u'[') && page != *templ)
        std::abort();

    // The page file: Windows-1252 bytes that read back as written, and
    // whose character references give back every character of the page.
    const QString pagePath = PrintPage::pagePath(dir.path());
    if (!PageWriter::write(pagePath, page).ok)
        std::abort();
    const std::optional<QString> back = TextFile::readExact(pagePath, nullptr);
    if (!back || *back != PageWriter::withCharacterReferences(page))
        std::abort();
    if (resolveReferences(*back) != resolveReferences(withoutLoneHalves(page)))
        std::abort();
    return 0;
}
