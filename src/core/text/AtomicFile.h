#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// A file replaced whole or not at all. The bytes go to a temporary file that
// takes the old one's place only when every byte is on disk; until then the
// old file stays as it was.
//
// Always use this instead of QSaveFile directly: a buffered QSaveFile loses
// an error from the final flush (a full disk) and still renames the cut-off
// file into place, reporting success.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open();
    // False once any write has failed; later writes do nothing.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Puts the file in place; false (and the old file kept) after any failure.
    bool commit();
    // Drops the temporary file; the old file stays.
    void cancel();

    // The whole of `bytes` as the new content of `path`.
    static bool writeAll(const QString& path, const QByteArray& bytes);

private:
    QSaveFile m_file;
    bool m_failed = false;
};
