// er.txt and adresser.txt: whatever bytes a file holds, reading it never
// fails, and what was read writes back to a file that reads the same. A file
// read as UTF-8 may hold characters Windows-1252 cannot: saving it then
// refuses, names them and writes nothing.
#include "core/exchange/AddressBook.h"
#include "core/exchange/MailSettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    const std::optional<MailSettings> settings = MailSettings::read(in);
    if (!settings)
        std::abort();
    QFile::remove(out);
    if (const TextFile::WriteResult w = settings->write(out); !w.ok) {
        if (w.unencodable.isEmpty() || QFile::exists(out))
            std::abort();
    } else {
        const std::optional<MailSettings> again = MailSettings::read(out);
        if (!again || !(*again == *settings))
            std::abort();
    }

    const AddressBook::ReadResult book = AddressBook::read(in);
    if (!book.ok)
        std::abort();
    QFile::remove(out);
    if (const TextFile::WriteResult w = AddressBook::write(out, book.contacts); !w.ok) {
        if (w.unencodable.isEmpty() || QFile::exists(out))
            std::abort();
    } else {
        const AddressBook::ReadResult bookAgain = AddressBook::read(out);
        if (!bookAgain.ok || bookAgain.contacts != book.contacts)
            std::abort();
    }
    return 0;
}
