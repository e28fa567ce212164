#include "core/db/TextRules.h"

#include <QStringDecoder>

#include <cstring>

namespace TextRules {

QString fromUtf8(const char* s, qsizetype n)
{
    if (n < 3 || std::memcmp(s, "\xEF\xBB\xBF", 3) != 0)
        return QString::fromUtf8(s, n);
    QStringDecoder keep(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return keep.decode(QByteArrayView(s, n));
}

} // namespace TextRules
