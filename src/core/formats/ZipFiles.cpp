#include "core/formats/FileSet.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>
#include <zlib.h>

namespace FileSets {

namespace {

QString megabytes(qint64 bytes)
{
    return QString::number(bytes >> 20);
}

// Unpacks the zip's current entry, stopping as soon as it passes a bound.
std::optional<QByteArray> unpack(
    QuaZip& zip, const QString& name, const FormatLimits& limits, qint64& total, QString* error)
{
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("delen \"%1\" är skadad.").arg(name);
        return std::nullopt;
    }
    QByteArray data;
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0) {
            *error = QStringLiteral("delen \"%1\" är skadad.").arg(name);
            return std::nullopt;
        }
        if (n == 0)
            break;
        if (data.size() + n > limits.entryBytes) {
            *error = QStringLiteral("delen \"%1\" blir större än %2 MB uppackad.")
                         .arg(name, megabytes(limits.entryBytes));
            return std::nullopt;
        }
        if (total + n > limits.totalBytes) {
            *error = QStringLiteral("innehållet blir större än %1 MB uppackat.")
                         .arg(megabytes(limits.totalBytes));
            return std::nullopt;
        }
        total += n;
        data.append(buffer, n);
    }
    file.close();
    if (file.getZipError() != UNZ_OK) {
        *error = QStringLiteral("delen \"%1\" är skadad.").arg(name);
        return std::nullopt;
    }
    return data;
}

// Empty, or why the entry may not be taken.
QString refusal(const QuaZipFileInfo64& info, const std::optional<QString>& clean, const FormatLimits& limits)
{
    if (!clean)
        return QStringLiteral("delen \"%1\" pekar utanför arkivet.").arg(info.name);
    if (info.isSymbolicLink())
        return QStringLiteral("delen \"%1\" är en länk.").arg(info.name);
    if (info.flags & 1)
        return QStringLiteral("delen \"%1\" är krypterad.").arg(info.name);
    if (info.uncompressedSize > quint64(limits.entryBytes))
        return QStringLiteral("delen \"%1\" blir större än %2 MB uppackad.")
            .arg(info.name, megabytes(limits.entryBytes));
    return {};
}

} // namespace

std::unique_ptr<FileSet> openZip(
    QIODevice* device, const FormatLimits& limits, const Wanted& wanted, QString* error)
{
    QuaZip zip(device);
    zip.setAutoClose(false);
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = QStringLiteral("filen är ingen zip-fil, eller så är den skadad.");
        return nullptr;
    }
    if (zip.getEntriesCount() > limits.entries) {
        *error = QStringLiteral("arkivet har fler än %1 delar.").arg(limits.entries);
        return nullptr;
    }
    auto set = std::make_unique<MemoryFileSet>();
    qint64 total = 0;
    int seen = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (++seen > limits.entries || !zip.getCurrentFileInfo(&info))
            break;
        if (info.name.endsWith(QLatin1Char('/')) && info.uncompressedSize == 0)
            continue; // a folder
        const std::optional<QString> clean = cleanName(info.name);
        if (const QString why = refusal(info, clean, limits); !why.isEmpty()) {
            *error = why;
            return nullptr;
        }
        if (!wanted(*clean))
            continue;
        const std::optional<QByteArray> data = unpack(zip, *clean, limits, total, error);
        if (!data)
            return nullptr;
        set->add(*clean, *data);
    }
    if (zip.getZipError() != UNZ_OK || seen != zip.getEntriesCount()) {
        *error = QStringLiteral("arkivets innehållsförteckning är skadad.");
        return nullptr;
    }
    return set;
}

std::optional<QByteArray> gunzip(const QByteArray& bytes, qint64 maxBytes, QString* error)
{
    z_stream s {};
    if (inflateInit2(&s, 16 + MAX_WBITS) != Z_OK) {
        *error = QStringLiteral("gzip-data kunde inte packas upp.");
        return std::nullopt;
    }
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    s.avail_in = uInt(bytes.size());
    QByteArray out;
    QString why;
    char buffer[1 << 16];
    int r = Z_OK;
    while (r != Z_STREAM_END) {
        s.next_out = reinterpret_cast<Bytef*>(buffer);
        s.avail_out = sizeof buffer;
        r = inflate(&s, Z_NO_FLUSH);
        const qsizetype got = qsizetype(sizeof buffer - s.avail_out);
        const bool stuck = r == Z_BUF_ERROR || (got == 0 && s.avail_in == 0 && r != Z_STREAM_END);
        if ((r != Z_OK && r != Z_STREAM_END) || stuck) {
            why = QStringLiteral("gzip-data är skadade eller avklippta.");
            break;
        }
        if (out.size() + got > maxBytes) {
            why = QStringLiteral("gzip-data blir större än %1 MB uppackade.").arg(megabytes(maxBytes));
            break;
        }
        out.append(buffer, got);
    }
    inflateEnd(&s);
    if (!why.isEmpty()) {
        *error = why;
        return std::nullopt;
    }
    return out;
}

} // namespace FileSets
