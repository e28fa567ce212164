// Recipe files: whatever the bytes, parsing ends, and every block it accepts
// stands in the text exactly as its elements were written.
#include "core/exchange/ReceptImport.h"
#include "core/text/TextFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool element(const QString& text, const char* name, const QString& value)
{
    const QString tag = QLatin1String(name);
    return text.contains(
        QLatin1Char('<') + tag + QLatin1Char('>') + value + QStringLiteral("</") + tag + QLatin1Char('>'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text
        = TextFile::fromWindows1252(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const ReceptImport::Parsed parsed = ReceptImport::parse(text);
    for (const ReceptImport::Block& b : parsed.blocks) {
        bool numeric = false;
        b.kategori.trimmed().toInt(&numeric);
        if (!numeric || b.titel.trimmed().isEmpty() || !element(text, "titel", b.titel)
            || !element(text, "kategori", b.kategori) || !element(text, "portioner", b.portioner)
            || !element(text, "tid", b.tid) || !element(text, "ingredienser", b.ingredienser)
            || !element(text, "anvisningar", b.anvisningar))
            std::abort();
    }
    // A file without a title tag has no blocks and nothing wrong with it.
    if (!text.contains(QStringLiteral("<titel>")) && (!parsed.blocks.isEmpty() || !parsed.error.isEmpty()))
        std::abort();
    return 0;
}
