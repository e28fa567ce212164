#include "core/text/AtomicFile.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

AtomicFile::AtomicFile(const QString& path)
    : m_file(path)
{
}

bool AtomicFile::open()
{
    // Unbuffered, so a short write shows at the write that makes it.
    m_failed = !m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // QSaveFile keeps the old file's mode; its owner is kept here, where the
    // system allows (a file edited by root stays the user's).
    if (struct stat st {}; !m_failed && ::stat(QFile::encodeName(m_file.fileName()).constData(), &st) == 0)
        (void)!::fchown(m_file.handle(), st.st_uid, st.st_gid);
    return !m_failed;
}

bool AtomicFile::write(const char* data, qint64 size)
{
    while (!m_failed && size > 0) {
        const qint64 n = m_file.write(data, size);
        if (n <= 0) {
            m_failed = true;
            break;
        }
        data += n;
        size -= n;
    }
    return !m_failed;
}

bool AtomicFile::commit()
{
    if (m_failed) {
        m_file.cancelWriting();
        m_file.commit();
        return false;
    }
    return m_file.commit();
}

void AtomicFile::cancel()
{
    m_failed = true;
    m_file.cancelWriting();
    m_file.commit();
}

bool AtomicFile::writeAll(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    const bool written = file.open() && file.write(bytes);
    return file.commit() && written;
}
