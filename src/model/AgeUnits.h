#pragma once
// A stored setting of the session without behaviour of its own: read and written back unchanged.

#include <QString>
#include <optional>

enum class AgeUnits { months, weeks, days, hours };

QString ageUnitsText(AgeUnits units);
// None for any text but the four stored values.
std::optional<AgeUnits> ageUnitsFromText(const QString& text);
