#pragma once
// Finds the computer's internal battery among the kernel's power supplies and reads it into an
// InternalBattery, converting the kernel's units. Peripheral batteries (a mouse, a game
// controller) do not count.

#include "platform/PowerSupplies.h"
#include "services/InternalBattery.h"

#include <optional>

class InternalFinder {
public:
    explicit InternalFinder(PowerSupplies supplies = PowerSupplies());

    // Asked once, then remembered.
    bool hasInternalBattery();
    // None when there is no internal battery.
    std::optional<InternalBattery> getInternalBattery() const;

private:
    std::optional<QString> internalBatteryName() const;
    std::optional<bool> acPowered() const;

    PowerSupplies supplies;
    std::optional<bool> internalChecked;
};
