#include "core/formats/ZipWriter.h"

#include "core/text/AtomicFile.h"

#include <QDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

ZipWriter::ZipWriter(const QString& path)
    : m_path(path)
    , m_temp(QDir(QDir::tempPath()).filePath(QStringLiteral("gastrid-zip-XXXXXX")))
{
    if (!m_temp.open())
        return;
    m_zip = std::make_unique<QuaZip>(&m_temp);
    m_zip->setAutoClose(false);
    m_zip->setUtf8Enabled(true);
    if (!m_zip->open(QuaZip::mdCreate))
        m_zip.reset();
}

ZipWriter::~ZipWriter() = default;

bool ZipWriter::fail()
{
    if (m_error.isEmpty())
        m_error = QStringLiteral("Filen %1 kunde inte sparas.").arg(QDir::toNativeSeparators(m_path));
    m_zip.reset();
    return false;
}

bool ZipWriter::add(const QString& name, const QByteArray& bytes, bool compress)
{
    if (!m_zip)
        return fail();
    QuaZipFile file(m_zip.get());
    if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, Z_DEFLATED,
            compress ? Z_DEFAULT_COMPRESSION : Z_NO_COMPRESSION))
        return fail();
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    if (!written || file.getZipError() != ZIP_OK)
        return fail();
    return true;
}

bool ZipWriter::finish()
{
    if (!m_zip)
        return fail();
    m_zip->close();
    const bool closed = m_zip->getZipError() == ZIP_OK;
    m_zip.reset();
    if (!closed || !m_temp.flush() || !m_temp.seek(0))
        return fail();
    AtomicFile out(m_path);
    if (!out.open())
        return fail();
    while (!m_temp.atEnd()) {
        const QByteArray chunk = m_temp.read(1 << 20);
        if (chunk.isEmpty() || !out.write(chunk)) {
            out.cancel();
            return fail();
        }
    }
    return out.commit() || fail();
}
