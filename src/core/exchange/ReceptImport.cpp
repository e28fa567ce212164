#include "core/exchange/ReceptImport.h"

#include "core/catalogue/ImportBatch.h"
#include "core/catalogue/Records.h"
#include "core/text/UserFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ReceptImport {

namespace {

// A block ends before the next "<titel>", so an element missing from one
// block is never taken from the block after it.
struct Span {
    const QString& text;
    qsizetype limit;

    // The value of element `name` searched from `from`; false when its tags
    // are not both inside the block.
    bool find(
        QLatin1String name, qsizetype from, QString* value, qsizetype* end, QString* error, int number) const
    {
        const QString open = QLatin1Char('<') + name + QLatin1Char('>');
        const QString close = QStringLiteral("</") + name + QLatin1Char('>');
        const qsizetype o = text.indexOf(open, from);
        if (o < 0 || o >= limit) {
            *error = QStringLiteral("Recept %1 i filen saknar elementet %2.").arg(number).arg(open);
            return false;
        }
        const qsizetype start = o + open.size();
        const qsizetype c = text.indexOf(close, start);
        if (c < 0 || c + close.size() > limit) {
            *error = QStringLiteral("Recept %1 i filen saknar %2.").arg(number).arg(close);
            return false;
        }
        *value = text.mid(start, c - start);
        *end = c + close.size();
        return true;
    }
};

const QString TitelOpen = QStringLiteral("<titel>");
const QString TitelClose = QStringLiteral("</titel>");

} // namespace

Parsed parse(const QString& text)
{
    Parsed out;
    qsizetype from = 0;
    for (int number = 1;; ++number) {
        const qsizetype start = text.indexOf(TitelOpen, from);
        if (start < 0)
            break;
        Block b;
        const qsizetype titelValue = start + TitelOpen.size();
        const qsizetype titelEnd = text.indexOf(TitelClose, titelValue);
        const qsizetype next = text.indexOf(TitelOpen, titelValue);
        if (titelEnd < 0 || (next >= 0 && next < titelEnd)) {
            out.error = QStringLiteral("Recept %1 i filen saknar %2.").arg(number).arg(TitelClose);
            break;
        }
        b.titel = text.mid(titelValue, titelEnd - titelValue);
        if (b.titel.trimmed().isEmpty()) {
            out.error = QStringLiteral("Recept %1 i filen har ingen titel.").arg(number);
            break;
        }
        const qsizetype afterTitel = titelEnd + TitelClose.size();
        const qsizetype nextTitel = text.indexOf(TitelOpen, afterTitel);
        const Span span { text, nextTitel < 0 ? text.size() : nextTitel };
        qsizetype end = 0;
        qsizetype blockEnd = 0;
        const bool found
            = span.find(QLatin1String("kategori"), afterTitel, &b.kategori, &end, &out.error, number)
            && span.find(QLatin1String("portioner"), afterTitel, &b.portioner, &end, &out.error, number)
            && span.find(QLatin1String("tid"), afterTitel, &b.tid, &end, &out.error, number)
            && span.find(QLatin1String("ingredienser"), afterTitel, &b.ingredienser, &end, &out.error, number)
            && span.find(
                QLatin1String("anvisningar"), afterTitel, &b.anvisningar, &blockEnd, &out.error, number);
        if (!found)
            break;
        QString noName;
        if (!span.find(QLatin1String("kategorinamn"), afterTitel, &b.kategorinamn, &end, &noName, number))
            b.kategorinamn.clear();
        bool numeric = false;
        b.kategori.trimmed().toInt(&numeric, 10);
        if (!numeric) {
            out.error = QStringLiteral("Recept %1 i filen har kategorin \"%2\", som inte är ett nummer.")
                            .arg(number)
                            .arg(b.kategori);
            break;
        }
        out.blocks.append(b);
        from = blockEnd;
    }
    return out;
}

bool firstLineHasTitel(const QByteArray& bytes)
{
    // Decoded first: in UTF-16 the tag's letters are not its bytes.
    const QString text = UserFile::decode(bytes);
    qsizetype end = text.size();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\r' || text.at(i) == u'\n') {
            end = i;
            break;
        }
    }
    return QStringView(text).left(end).contains(QLatin1String("<titel>"), Qt::CaseInsensitive);
}

DbResult<qint32> addRecipe(Database& db, const Block& b)
{
    return Records::addImported(
        db, b.kategori.trimmed().toInt(), { b.titel, b.portioner, b.tid, b.ingredienser, b.anvisningar });
}

Result importText(Database& db, const QString& text)
{
    const Parsed parsed = parse(text);
    Result result;
    if (!parsed.blocks.isEmpty()) {
        // One transaction: a failing engine leaves none of this file's
        // recipes behind, and a thousand recipes are not a thousand syncs.
        auto failed = [&](const DbError& e) {
            db.rollback();
            result.added.clear();
            result.error = QStringLiteral("Recepten kunde inte sparas.\n\n") + e.describe();
            return result;
        };
        ImportBatch batch(db);
        if (DbStatus s = batch.begin(); !s)
            return failed(s.error());
        for (const Block& b : parsed.blocks) {
            const DbResult<qint32> rid = batch.add(
                b.kategori.trimmed().toInt(), { b.titel, b.portioner, b.tid, b.ingredienser, b.anvisningar });
            if (!rid)
                return failed(rid.error());
            result.added.append(*rid);
        }
        if (DbStatus s = batch.commit(); !s)
            return failed(s.error());
    }
    if (!parsed.error.isEmpty()) {
        result.error = QStringLiteral("Receptfilen kunde inte läsas in helt. ") + parsed.error
            + (result.added.isEmpty() ? QStringLiteral(" Inget recept har sparats.")
                                      : QStringLiteral(" Recepten före det har sparats."));
    }
    return result;
}

Result ImportRecept(Database& db, const QString& programFolder)
{
    const QString path = QDir(programFolder).filePath(TempFileName);
    if (!QFileInfo::exists(path))
        return {};
    Result r;
    if (const std::optional<QByteArray> bytes = UserFile::readBytes(path, &r.error, FileLimit))
        r = importText(db, UserFile::decode(*bytes));
    QFile::remove(path);
    return r;
}

} // namespace ReceptImport
