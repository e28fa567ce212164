#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The update description "update.txt": a first line "[Update]" and a second
// line "file name,version,size in kB[,SHA-256 in hex]".
namespace UpdateInfo {

inline const QString FileName = QStringLiteral("update.txt");

// The installer a description offers.
struct Offer {
    QString fileName;
    int version = 0;
    // In kilobytes of 1000 bytes; drives the progress blocks.
    qint64 sizeKb = 0;
    // Raw digest, empty when the description gives none.
    QByteArray sha256;

    // Bytes a progress block stands for.
    qint64 blockThreshold() const;
    // The largest body the download accepts.
    qint64 maxBytes() const;
    // The fewest bytes an installer of this size can have: the size is in
    // whole kilobytes, rounded either way (0 when no size is given).
    qint64 leastBytes() const;
};

// The program's own number: major, minor and revision written one after the
// other (2.1.0 gives 210).
int GetVersionNumber(int major, int minor, int revision);
int GetVersionNumber();

// A name that can only mean a file in the program folder itself: letters,
// digits, ".", "-" and "_", not hidden, no "..", at most 100 characters, and
// none of the program's own files.
bool isPlainFileName(const QString& name);

// The offer of a description when it names a version above `ownVersion`;
// nothing for any other description.
std::optional<Offer> parse(const QByteArray& bytes, int ownVersion);

// Shows the next of the 20 blocks each time more than a block's worth of
// bytes has been read since the last one.
class ProgressBlocks {
public:
    static constexpr int Count = 20;
    explicit ProgressBlocks(qint64 threshold)
        : m_threshold(threshold)
    {
    }
    // After a read of `bytes`; true when one more block is to be shown.
    bool add(qint64 bytes);
    int shown() const { return m_shown; }

private:
    qint64 m_threshold;
    qint64 m_count = 0;
    int m_shown = 0;
};

} // namespace UpdateInfo
