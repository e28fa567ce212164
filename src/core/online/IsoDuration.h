#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Durations as web pages give them (ISO 8601: "PT1H15M", "P1DT2H") and as
// the cookbook writes them ("1 tim 15 min").
namespace IsoDuration {

// Whole seconds; nothing when the text is no duration of fixed length
// (years and months count only when zero).
std::optional<qint64> seconds(QStringView text);

// "2 dagar 3 tim 5 min 10 sek", leaving out the parts that are zero; empty for 0.
QString swedish(qint64 seconds);

// The shortest ISO 8601 form: "PT0S", "PT1H15M", "P1DT2H".
QString iso(qint64 seconds);

} // namespace IsoDuration
