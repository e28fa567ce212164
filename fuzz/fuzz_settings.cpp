// Stored settings values: whatever a parser accepts, formatted again, parses
// to the same; and reading settings from a cookbook whose rows hold the
// input leaves rows that read back as what was loaded, with no further
// writes on a second read. Input: the stored text of a value.
#include "core/settings/Settings.h"

#include <cstdint>
#include <cstdlib>

namespace {

Database& cookbook()
{
    static Database db;
    if (!db.isOpen()) {
        if (!db.openPlain(QStringLiteral(":memory:"))
            || !db.exec(
                "CREATE TABLE options (uid INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, value TEXT);"))
            std::abort();
    }
    return db;
}

bool operator==(const Settings::Stored& a, const Settings::Stored& b)
{
    return a.windowWidth == b.windowWidth && a.windowHeight == b.windowHeight && a.upgrade == b.upgrade
        && a.windowRGB == b.windowRGB && a.buttonRGB == b.buttonRGB;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    if (const auto size2 = Settings::parseWindowSize(value)) {
        const auto again
            = Settings::parseWindowSize(QStringLiteral("%1,%2").arg(size2->first).arg(size2->second));
        if (again != size2)
            std::abort();
    }
    if (const auto up = Settings::parseUpgrade(value)) {
        if (Settings::parseUpgrade(QString::number(*up)) != up)
            std::abort();
    }
    if (const auto rgb = Settings::parseRgb(value)) {
        if (Settings::parseRgb(rgb->text()) != rgb)
            std::abort();
    }

    Database& db = cookbook();
    if (!db.exec("DELETE FROM options;"))
        std::abort();
    for (const char* key : { "windowsize", "upgrade", "rgb_windows", "rgb_buttons" })
        if (!db.execute(
                "INSERT INTO options (name, value) VALUES (?1, ?2);", { QString::fromLatin1(key), value }))
            std::abort();
    const auto first = Settings::LoadSettings(db);
    if (!first)
        std::abort();
    const qint64 stamp = db.changeStamp();
    const auto second = Settings::LoadSettings(db);
    if (!second || !(*second == *first) || db.changeStamp() != stamp)
        std::abort();
    const auto stored = [&](const char* key) {
        return db.scalar("SELECT value FROM options WHERE name=?1;", { QString::fromLatin1(key) })
            ->toString();
    };
    const auto size2 = Settings::parseWindowSize(stored("windowsize"));
    if (!size2 || size2->first != first->windowWidth || size2->second != first->windowHeight)
        std::abort();
    if (Settings::parseUpgrade(stored("upgrade")) != first->upgrade)
        std::abort();
    if (Settings::parseRgb(stored("rgb_windows")) != first->windowRGB
        || Settings::parseRgb(stored("rgb_buttons")) != first->buttonRGB)
        std::abort();
    return 0;
}
