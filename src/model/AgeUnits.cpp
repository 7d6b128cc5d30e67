#include "model/AgeUnits.h"

#include <array>

namespace {
const std::array<const char*, 4> texts = {"months", "weeks", "days", "hours"};
}

QString ageUnitsText(AgeUnits units) {
    return QString::fromLatin1(texts[size_t(units)]);
}

std::optional<AgeUnits> ageUnitsFromText(const QString& text) {
    for (size_t i = 0; i < texts.size(); ++i)
        if (text == QLatin1String(texts[i]))
            return AgeUnits(i);
    return std::nullopt;
}
