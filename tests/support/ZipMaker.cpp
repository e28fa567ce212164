#include "support/ZipMaker.h"

#include <QBuffer>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <zlib.h>

QByteArray makeZip(const QList<ZipEntry>& entries)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    {
        QuaZip zip(&buffer);
        zip.setAutoClose(false);
        if (!zip.open(QuaZip::mdCreate))
            return {};
        for (const ZipEntry& e : entries) {
            QuaZipNewInfo info(e.name);
            if (e.externalAttr)
                info.externalAttr = e.externalAttr;
            QuaZipFile file(&zip);
            if (!file.open(QIODevice::WriteOnly, info))
                return {};
            file.write(e.bytes);
            file.close();
        }
        zip.close();
    }
    return buffer.data();
}

QByteArray gzip(const QByteArray& bytes)
{
    z_stream s {};
    if (deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray out(int(deflateBound(&s, uLong(bytes.size()))), Qt::Uninitialized);
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    s.avail_in = uInt(bytes.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = uInt(out.size());
    deflate(&s, Z_FINISH);
    out.resize(qsizetype(s.total_out));
    deflateEnd(&s);
    return out;
}
