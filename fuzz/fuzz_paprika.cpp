// Paprika recipes: the bytes as one entry of an archive (gzip-compressed
// JSON, or plain JSON). Whatever the bytes, the entry is read whole or not
// at all, and a recipe accepted comes back unchanged through the writers.
#include "FormatProperty.h"
#include "core/formats/Paprika.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    MemoryFileSet set;
    set.add(QStringLiteral("a.paprikarecipe"), bytes);
    checkAccepted(Paprika::read(set, {}, QStringLiteral("fuzz.paprikarecipes")));
    return 0;
}
