#pragma once

#include "core/text/TextFile.h"

#include <QList>
#include <QString>

// The address book, adresser.txt in the program folder: one contact a line,
// "name","address", written in Windows-1252 with CR LF and read as a file the
// user may have edited (UserFile). A name never holds a double quote
// (it is stored as an apostrophe and shown as a double quote again), so the
// address is everything between the third quote and the line's last one.
namespace AddressBook {

struct Contact {
    // As stored: apostrophes where the user typed double quotes.
    QString name;
    QString mail;
    bool operator==(const Contact&) const = default;
};

struct ReadResult {
    bool ok = false;
    QList<Contact> contacts;
    QString error;
};

// A missing file is an empty book. Blank lines are skipped; a line without
// quotes is read as name,address split at its first comma.
ReadResult read(const QString& path);
// The whole book, replacing the file only once the new one is complete.
TextFile::WriteResult write(const QString& path, const QList<Contact>& contacts);

// A typed name as it is stored, and a stored name as it is shown.
QString storedName(const QString& typed);
QString shownName(const QString& stored);

// One line of the file, without its line end.
QString formatLine(const Contact& c);
Contact parseLine(const QString& line);

} // namespace AddressBook
