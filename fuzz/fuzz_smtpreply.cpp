// Replies of a mail server: however the network splits the bytes, the reader
// hands out the same replies as when they come in one piece.
#include "core/exchange/SmtpReply.h"

#include <cstdint>
#include <cstdlib>

namespace {

struct Read {
    QList<SmtpReply> replies;
    bool failed = false;
    bool operator==(const Read&) const = default;
};

Read readInPieces(const QByteArray& bytes, const QList<qsizetype>& cuts)
{
    SmtpReplyReader reader;
    Read out;
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        reader.feed(bytes.mid(from, cut - from));
        from = cut;
        while (std::optional<SmtpReply> r = reader.next())
            out.replies << *r;
    }
    reader.feed(bytes.mid(from));
    while (std::optional<SmtpReply> r = reader.next())
        out.replies << *r;
    out.failed = reader.failed();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Read whole = readInPieces(bytes, {});
    for (const SmtpReply& r : whole.replies)
        if (r.lines.isEmpty() || r.code < 0 || r.code > 999)
            std::abort();
    // Every single split point, and byte by byte.
    for (qsizetype cut = 1; cut < bytes.size() && cut <= 2048; ++cut)
        if (!(readInPieces(bytes, { cut }) == whole))
            std::abort();
    QList<qsizetype> everyByte;
    for (qsizetype i = 1; i < bytes.size(); ++i)
        everyByte << i;
    if (!(readInPieces(bytes, everyByte) == whole))
        std::abort();
    return 0;
}
