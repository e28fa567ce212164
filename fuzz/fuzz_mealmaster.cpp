// MealMaster text: whatever the bytes, a file is read whole or not at all,
// and every recipe accepted comes back unchanged through the writers.
#include "FormatProperty.h"
#include "core/formats/MealMaster.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkAccepted(MealMaster::read(bytes, {}, QStringLiteral("fuzz.mmf")));
    return 0;
}
