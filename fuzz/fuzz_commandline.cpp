// The command line: whatever arguments come, every file handed over is an
// absolute, clean name of the kind its extension says, and naming those files
// again (after "--") hands over the same files. What one copy hands to a
// running one arrives unchanged, and a message from anywhere else is taken
// only with names of the same good form. Input: the arguments, separated by
// NUL bytes, and itself as a message.
#include "core/app/CommandLine.h"

#include <QDir>
#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList args;
    for (const QByteArray& a : bytes.split('\0'))
        args << QString::fromUtf8(a);
    const CommandLine::Request r = CommandLine::parse(args, QStringLiteral("/home/anna"));

    QStringList again { QStringLiteral("--") };
    for (const CommandLine::GivenFile& f : r.files) {
        const QString suffix = QFileInfo(f.path).suffix().toLower();
        const bool kindFits = (f.kind == CommandLine::FileKind::Fridge && suffix == QLatin1String("kyl"))
            || (f.kind == CommandLine::FileKind::Recipe && suffix == QLatin1String("rcp"));
        if (!QDir::isAbsolutePath(f.path) || QDir::cleanPath(f.path) != f.path || !kindFits)
            std::abort();
        again << f.path;
    }
    if (r.files.size() + r.unknownFiles.size() > args.size())
        std::abort();
    if (!r.badOption.isEmpty() && (!r.badOption.startsWith(QLatin1Char('-')) || !args.contains(r.badOption)))
        std::abort();
    if (CommandLine::parse(again, QStringLiteral("/elsewhere")).files != r.files)
        std::abort();
    if (r.badOption.isEmpty() && CommandLine::takeOverMessage(CommandLine::handOverMessage(r)) != r)
        std::abort();
    if (const auto taken = CommandLine::takeOverMessage(bytes)) {
        for (const CommandLine::GivenFile& f : taken->files)
            if (!QDir::isAbsolutePath(f.path) || QDir::cleanPath(f.path) != f.path)
                std::abort();
        if (!taken->badOption.isEmpty())
            std::abort();
    }
    return 0;
}
