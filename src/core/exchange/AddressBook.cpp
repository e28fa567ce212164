#include "core/exchange/AddressBook.h"

#include "core/text/UserFile.h"

#include <QFileInfo>

namespace AddressBook {

namespace {

constexpr QChar Quote = QLatin1Char('"');
constexpr QChar Apostrophe = QLatin1Char('\'');

Contact parseFields(const QString& line)
{
    const QString t = line.trimmed();
    Contact c;
    if (!t.startsWith(Quote)) {
        // Written by hand or by another program: plain comma-separated.
        const qsizetype comma = t.indexOf(QLatin1Char(','));
        c.name = (comma < 0 ? t : t.left(comma)).trimmed();
        if (comma >= 0) {
            c.mail = t.mid(comma + 1).trimmed();
            if (c.mail.size() >= 2 && c.mail.startsWith(Quote) && c.mail.endsWith(Quote))
                c.mail = c.mail.mid(1, c.mail.size() - 2);
        }
        return c;
    }
    const qsizetype nameEnd = t.indexOf(Quote, 1);
    if (nameEnd < 0) {
        c.name = t.mid(1);
        return c;
    }
    c.name = t.mid(1, nameEnd - 1);
    const qsizetype mailStart = t.indexOf(Quote, nameEnd + 1);
    if (mailStart < 0) {
        const qsizetype comma = t.indexOf(QLatin1Char(','), nameEnd + 1);
        if (comma >= 0)
            c.mail = t.mid(comma + 1).trimmed();
        return c;
    }
    // The last quote ends the address, so one typed with a quote in it
    // comes back whole.
    const qsizetype mailEnd = t.lastIndexOf(Quote);
    c.mail = mailEnd > mailStart ? t.mid(mailStart + 1, mailEnd - mailStart - 1) : t.mid(mailStart + 1);
    return c;
}

} // namespace

QString storedName(const QString& typed)
{
    QString s = typed;
    s.replace(Quote, Apostrophe);
    return s;
}

QString shownName(const QString& stored)
{
    QString s = stored;
    s.replace(Apostrophe, Quote);
    return s;
}

QString formatLine(const Contact& c)
{
    return Quote + storedName(c.name) + QStringLiteral("\",\"") + c.mail + Quote;
}

Contact parseLine(const QString& line)
{
    Contact c = parseFields(line);
    c.name = storedName(c.name);
    return c;
}

ReadResult read(const QString& path)
{
    ReadResult result;
    if (!QFileInfo::exists(path)) {
        result.ok = true;
        return result;
    }
    const TextFile::ReadResult r = UserFile::readLines(path);
    if (!r.ok) {
        result.error = r.error;
        return result;
    }
    for (const QString& line : r.lines) {
        if (line.trimmed().isEmpty())
            continue;
        result.contacts << parseLine(line);
    }
    result.ok = true;
    return result;
}

TextFile::WriteResult write(const QString& path, const QList<Contact>& contacts)
{
    QStringList lines;
    lines.reserve(contacts.size());
    for (const Contact& c : contacts)
        lines << formatLine(c);
    return UserFile::writeLines(path, lines);
}

} // namespace AddressBook
