// Update descriptions: whatever the server sends, an offer only ever names a
// plain file in the program folder and a version above the program's own.
#include "core/online/UpdateInfo.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto offer = UpdateInfo::parse(bytes, 210);
    if (!offer)
        return 0;
    const QString& n = offer->fileName;
    if (n.isEmpty() || n.size() > 100 || n.startsWith(QLatin1Char('.')) || n.contains(QLatin1String(".."))
        || n.contains(QLatin1Char('/')) || n.contains(QLatin1Char('\\')) || n.contains(QLatin1Char(':'))
        || !UpdateInfo::isPlainFileName(n))
        std::abort();
    for (QChar c : n)
        if (c.unicode() > 0x7f || !(c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'_'))
            std::abort();
    if (offer->version <= 210 || offer->sizeKb < 0
        || (!offer->sha256.isEmpty() && offer->sha256.size() != 32))
        std::abort();
    if (offer->maxBytes() <= 0 || offer->maxBytes() > 200LL * 1000 * 1000)
        std::abort();
    if (!bytes.startsWith("[Update]"))
        std::abort();
    return 0;
}
