#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Zip and gzip files made by tests, through the same libraries the program
// reads them with.
struct ZipEntry {
    QString name;
    QByteArray bytes;
    // The high 16 bits hold a Unix file mode (0120777 for a link).
    quint32 externalAttr = 0;
};

QByteArray makeZip(const QList<ZipEntry>& entries);
QByteArray gzip(const QByteArray& bytes);
