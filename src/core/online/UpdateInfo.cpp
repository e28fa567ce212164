#include "core/online/UpdateInfo.h"
#include "core/text/ProgramFiles.h"

#include <QList>
#include <QRegularExpression>

#include <cmath>

namespace UpdateInfo {

namespace {

constexpr qint64 HardLimit = 200LL * 1000 * 1000;

// The lines of a text split at CR LF, lone CR or lone LF.
QList<QByteArray> lines(const QByteArray& bytes, int wanted)
{
    QList<QByteArray> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size() && out.size() < wanted; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        out.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (out.size() < wanted && start < bytes.size())
        out.append(bytes.mid(start));
    return out;
}

// The whole-number part of a decimal text; nothing for any other text.
std::optional<qint64> wholePart(const QByteArray& field)
{
    static const QRegularExpression number(QStringLiteral("^\\d{1,15}(\\.\\d*)?$"));
    const QString t = QString::fromLatin1(field.trimmed());
    if (!number.match(t).hasMatch())
        return std::nullopt;
    return t.section(QLatin1Char('.'), 0, 0).toLongLong();
}

} // namespace

qint64 Offer::blockThreshold() const
{
    return std::llround(double(sizeKb) / 20.0 * 1000.0);
}

qint64 Offer::maxBytes() const
{
    if (sizeKb <= 0 || sizeKb > HardLimit / 1000)
        return HardLimit;
    return std::min(2 * sizeKb * 1000, HardLimit);
}

qint64 Offer::leastBytes() const
{
    return sizeKb > 0 ? (sizeKb - 1) * 1000 + 1 : 0;
}

int GetVersionNumber(int major, int minor, int revision)
{
    return QStringLiteral("%1%2%3").arg(major).arg(minor).arg(revision).toInt();
}

int GetVersionNumber()
{
    return GetVersionNumber(GASTRID_VERSION_MAJOR, GASTRID_VERSION_MINOR, GASTRID_VERSION_PATCH);
}

bool isPlainFileName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._-]{1,100}$"));
    if (!plain.match(name).hasMatch() || name.startsWith(QLatin1Char('.'))
        || name.contains(QLatin1String("..")))
        return false;
    // The download replaces a file of that name: never one of the program's own.
    for (const char16_t* own : ProgramFiles::All)
        if (name.compare(QStringView(own), Qt::CaseInsensitive) == 0)
            return false;
    // Nor the engine's files beside the cookbook (its journal).
    return !name.startsWith(QLatin1String("dbRcp.mdb"), Qt::CaseInsensitive);
}

std::optional<Offer> parse(const QByteArray& bytes, int ownVersion)
{
    const QList<QByteArray> l = lines(bytes, 2);
    if (l.size() < 2 || l.at(0) != "[Update]")
        return std::nullopt;
    const QList<QByteArray> fields = l.at(1).split(',');
    if (fields.size() < 3)
        return std::nullopt;
    Offer o;
    o.fileName = QString::fromLatin1(fields.at(0).trimmed());
    const auto version = wholePart(fields.at(1));
    const auto size = wholePart(fields.at(2));
    if (!isPlainFileName(o.fileName) || !version || !size || *version <= ownVersion || *version > 0x7fffffff)
        return std::nullopt;
    o.version = int(*version);
    o.sizeKb = *size;
    if (fields.size() > 3) {
        const QByteArray hex = fields.at(3).trimmed();
        if (!hex.isEmpty()) {
            static const QRegularExpression sha(QStringLiteral("^[0-9A-Fa-f]{64}$"));
            if (!sha.match(QString::fromLatin1(hex)).hasMatch())
                return std::nullopt;
            o.sha256 = QByteArray::fromHex(hex);
        }
    }
    return o;
}

bool ProgressBlocks::add(qint64 bytes)
{
    m_count += bytes;
    if (m_count > m_threshold && m_shown < Count) {
        ++m_shown;
        m_count = 0;
        return true;
    }
    return false;
}

} // namespace UpdateInfo
