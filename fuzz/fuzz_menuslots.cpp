// The weekly menu's stored form: any 21 titles store and load back the same;
// a stored value reads to 21 titles that store and load back the same; and a
// value the old rule wrote (no backslash) reads exactly as the old rule did.
#include "core/menu/MenuSlots.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

QStringList oldRule(const QString& stored)
{
    const QStringList parts = stored.split(u',');
    QStringList titles;
    for (int i = 0; i < MenuSlots::SlotCount; ++i)
        titles << parts.value(i);
    return titles;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    // The input as a stored value.
    const QStringList read = MenuSlots::decode(text);
    if (read.size() != MenuSlots::SlotCount || MenuSlots::decode(MenuSlots::encode(read)) != read)
        std::abort();
    if (!text.contains(u'\\') && read != oldRule(text))
        std::abort();
    if (text.count(u',') <= MenuSlots::SlotCount && read != oldRule(text))
        std::abort();

    // The input as titles, one per NUL-separated part.
    QStringList titles = text.split(QChar(0));
    while (titles.size() < MenuSlots::SlotCount)
        titles << QString();
    titles = titles.mid(0, MenuSlots::SlotCount);
    const QString stored = MenuSlots::encode(titles);
    if (MenuSlots::decode(stored) != titles)
        std::abort();
    // A week without commas in its titles is stored as it always was.
    bool commas = false;
    for (const QString& t : titles)
        commas = commas || t.contains(u',');
    if (!commas && stored != titles.join(u',') + u',')
        std::abort();
    return 0;
}
