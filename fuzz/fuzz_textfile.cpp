// Text and fridge files: whatever bytes a file holds, reading never fails on
// them, and what was read writes back to a file that reads the same. A file
// read as UTF-8 may hold characters Windows-1252 cannot: saving it then
// refuses, names them and writes nothing.
#include "core/text/FridgeFile.h"
#include "core/text/TextFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.kyl"));
    const QString out = dir.filePath(QStringLiteral("out.kyl"));
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const TextFile::ReadResult first = FridgeFile::read(in);
    if (!first.ok)
        std::abort();
    QFile::remove(out);
    const TextFile::WriteResult written = FridgeFile::write(out, first.lines);
    if (!written.ok) {
        if (written.unencodable.isEmpty() || QFile::exists(out))
            std::abort();
        return 0;
    }
    const TextFile::ReadResult second = FridgeFile::read(out);
    if (!second.ok || second.lines != first.lines)
        std::abort();
    return 0;
}
