#pragma once
// A reading of the computer's internal battery. Every field is absent when the system does not
// report it; capacities are in mAh, currents in mA, times in minutes.

#include <QDate>
#include <QString>
#include <optional>

struct InternalBattery {
    std::optional<QString> name;
    std::optional<int> timeToFull;
    std::optional<int> timeToEmpty;
    std::optional<QString> manufacturer;
    std::optional<QDate> manufactureDate;
    std::optional<int> currentCapacity;
    std::optional<int> maxCapacity;
    std::optional<int> designCapacity;
    std::optional<int> cycleCount;
    std::optional<int> designCycleCount;
    std::optional<bool> acPowered;
    std::optional<bool> isCharging;
    std::optional<bool> isCharged;
    std::optional<int> amperage; // negative while discharging
    std::optional<double> voltage;
    std::optional<double> watts;
    std::optional<double> temperature;

    // Percentages: charge of the full capacity, and full capacity of the design capacity.
    std::optional<double> charge() const;
    std::optional<double> health() const;
    // Minutes to full while charging, to empty otherwise.
    std::optional<int> timeLeft() const;
    // "hh:mm", or "-" when there is no time left to show.
    QString timeLeftText() const;
};
