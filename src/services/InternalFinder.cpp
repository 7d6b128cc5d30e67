#include "services/InternalFinder.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double micro = 1e-6;

std::optional<int> scaled(std::optional<qint64> value, double factor) {
    if (!value)
        return std::nullopt;
    return int(std::lround(double(*value) * factor));
}

// Charge or energy counters with the matching rate, in whichever units the driver reports
// (µAh with µA, or µWh with µW): their ratio is hours either way.
struct Level {
    std::optional<qint64> now;
    std::optional<qint64> full;
    std::optional<qint64> rate;
};

Level readLevel(const PowerSupplies& supplies, const QString& battery) {
    if (supplies.number(battery, "charge_now"))
        return {supplies.number(battery, "charge_now"), supplies.number(battery, "charge_full"),
                supplies.number(battery, "current_now")};
    return {supplies.number(battery, "energy_now"), supplies.number(battery, "energy_full"),
            supplies.number(battery, "power_now")};
}

// The kernel's own estimate when it gives one, else the level over the present rate.
std::optional<int> minutesUntil(const PowerSupplies& supplies, const QString& battery,
                                const char* estimate, std::optional<qint64> remaining,
                                std::optional<qint64> rate) {
    if (const std::optional<qint64> seconds = supplies.number(battery, estimate))
        return int(*seconds / 60);
    if (!remaining || !rate || *rate == 0)
        return std::nullopt;
    return int(std::lround(double(*remaining) / double(std::llabs(*rate)) * 60.0));
}

// Capacities in mAh: charge counters convert directly, energy counters through the voltage.
std::optional<int> capacity(const PowerSupplies& supplies, const QString& battery,
                            const QString& counter, std::optional<qint64> microvolts) {
    if (const std::optional<qint64> charge = supplies.number(battery, "charge_" + counter))
        return scaled(charge, 1e-3);
    const std::optional<qint64> energy = supplies.number(battery, "energy_" + counter);
    if (!energy || !microvolts || *microvolts <= 0)
        return std::nullopt;
    return int(std::lround(double(*energy) / double(*microvolts) * 1000.0));
}

} // namespace

InternalFinder::InternalFinder(PowerSupplies supplies) : supplies(std::move(supplies)) {}

bool InternalFinder::hasInternalBattery() {
    if (!internalChecked)
        internalChecked = internalBatteryName().has_value();
    return *internalChecked;
}

std::optional<QString> InternalFinder::internalBatteryName() const {
    for (const QString& name : supplies.names())
        if (supplies.text(name, "type") == "Battery" && supplies.text(name, "scope") != "Device")
            return name;
    return std::nullopt;
}

std::optional<bool> InternalFinder::acPowered() const {
    std::optional<bool> powered;
    for (const QString& name : supplies.names())
        if (supplies.text(name, "type") == "Mains")
            powered = powered.value_or(false) || supplies.number(name, "online") == 1;
    return powered;
}

std::optional<InternalBattery> InternalFinder::getInternalBattery() const {
    const std::optional<QString> found = internalBatteryName();
    if (!found)
        return std::nullopt;
    const QString& battery = *found;
    InternalBattery reading;
    reading.name = battery;
    reading.manufacturer = supplies.text(battery, "manufacturer");
    const std::optional<qint64> year = supplies.number(battery, "manufacture_year");
    const std::optional<qint64> month = supplies.number(battery, "manufacture_month");
    const std::optional<qint64> day = supplies.number(battery, "manufacture_day");
    if (year && month && day && QDate(int(*year), int(*month), int(*day)).isValid())
        reading.manufactureDate = QDate(int(*year), int(*month), int(*day));

    const std::optional<QString> status = supplies.text(battery, "status");
    if (status == "Charging" || status == "Discharging" || status == "Not charging" ||
        status == "Full") {
        reading.isCharging = status == "Charging";
        reading.isCharged = status == "Full";
    }
    reading.acPowered = acPowered();

    const std::optional<qint64> microvolts = supplies.number(battery, "voltage_now");
    if (microvolts)
        reading.voltage = double(*microvolts) * micro;
    const std::optional<qint64> nominal = supplies.number(battery, "voltage_min_design");
    const std::optional<qint64> capacityVolts = nominal ? nominal : microvolts;
    reading.currentCapacity = capacity(supplies, battery, "now", capacityVolts);
    reading.maxCapacity = capacity(supplies, battery, "full", capacityVolts);
    reading.designCapacity = capacity(supplies, battery, "full_design", capacityVolts);
    reading.cycleCount = scaled(supplies.number(battery, "cycle_count"), 1.0);
    if (const std::optional<qint64> tenths = supplies.number(battery, "temp"))
        reading.temperature = double(*tenths) / 10.0;

    // Drivers disagree on the sign of the current: take its size, negative while discharging.
    std::optional<double> milliamperes;
    if (const std::optional<qint64> current = supplies.number(battery, "current_now"))
        milliamperes = std::abs(double(*current)) * 1e-3;
    else if (const std::optional<qint64> power = supplies.number(battery, "power_now");
             power && microvolts && *microvolts > 0)
        milliamperes = std::abs(double(*power)) / double(*microvolts) * 1000.0;
    if (milliamperes)
        reading.amperage =
            int(std::lround(status == "Discharging" ? -*milliamperes : *milliamperes));

    const Level level = readLevel(supplies, battery);
    if (reading.isCharging == true) {
        std::optional<qint64> missing;
        if (level.now && level.full)
            missing = std::max<qint64>(0, *level.full - *level.now);
        reading.timeToFull =
            minutesUntil(supplies, battery, "time_to_full_now", missing, level.rate);
    } else if (status == "Discharging") {
        reading.timeToEmpty =
            minutesUntil(supplies, battery, "time_to_empty_now", level.now, level.rate);
    }

    if (reading.amperage && reading.voltage && reading.isCharging) {
        const double watts = *reading.voltage * *reading.amperage / 1000.0;
        reading.watts = *reading.isCharging ? watts : -watts;
    }
    return reading;
}
