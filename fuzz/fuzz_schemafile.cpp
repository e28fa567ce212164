// JSON-LD files (and saved pages when the bytes start with "<"): whatever
// the bytes, a file is read whole or not at all, and every recipe accepted
// comes back unchanged through the writers. A picture named by the recipe is
// looked for beside the file.
#include "FormatProperty.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    MemoryFileSet set;
    const QString name = bytes.startsWith('<') ? QStringLiteral("page.html") : QStringLiteral("recept.json");
    set.add(name, bytes);
    set.add(QStringLiteral("bild.jpg"), QByteArray("\xFF\xD8\xFF a picture"));
    checkAccepted(SchemaFiles::read(set, {}, name));
    return 0;
}
