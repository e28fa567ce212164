#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

#include <memory>

class QuaZip;

// A zip file written entry by entry and put in place whole: until finish()
// succeeds, a file of that name stays as it was.
class ZipWriter {
public:
    explicit ZipWriter(const QString& path);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Pictures are stored as they are: they do not shrink.
    bool add(const QString& name, const QByteArray& bytes, bool compress);
    bool finish();
    // A Swedish sentence after a failure.
    QString error() const { return m_error; }

private:
    bool fail();

    QString m_path;
    QTemporaryFile m_temp;
    std::unique_ptr<QuaZip> m_zip;
    QString m_error;
};
