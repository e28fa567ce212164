// The mail body encoding: any bytes come back unchanged, and the encoded
// text is printable ASCII in lines of at most 76 characters with no space
// left at a line end.
#include "core/exchange/QuotedPrintable.h"

#include <QList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray encoded = QuotedPrintable::encode(text);
    if (QuotedPrintable::decode(encoded) != text)
        std::abort();
    for (const QByteArray& line : encoded.split('\n')) {
        QByteArray l = line;
        if (l.endsWith('\r'))
            l.chop(1);
        if (l.size() > QuotedPrintable::MaxLineLength)
            std::abort();
        if (l.endsWith(' ') || l.endsWith('\t'))
            std::abort();
        for (char c : l)
            if ((c < 32 && c != '\t') || c > 126)
                std::abort();
    }
    return 0;
}
