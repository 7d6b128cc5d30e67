#include "services/InternalFinder.h"

#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The battery found in a fake /sys/class/power_supply holding only BAT0, whose attributes are
// given as "name=value,name=value".
std::optional<InternalBattery> battery(const QString& attributes) {
    QTemporaryDir root;
    QDir(root.path()).mkpath("BAT0");
    for (const QString& attribute : attributes.split(','))
        writeFile(root.filePath("BAT0/" + attribute.section('=', 0, 0)),
                  (attribute.section('=', 1) + '\n').toUtf8());
    return InternalFinder(PowerSupplies(root.path())).getInternalBattery();
}
} // namespace

// Nothing in the program reads the battery yet. Energy units, the mains supply, the temperature,
// the manufacture date, peripheral batteries and the remembered answer have no test of their own.
TEST(InternalFinder, ReadsTheBatteryAndLeavesUnusableFieldsAbsent) {
    std::optional<InternalBattery> read =
        battery("type=Battery,status=Discharging,charge_now=2500000,charge_full=5000000,"
                "charge_full_design=6000000,current_now=1250000,voltage_now=11400000");
    ASSERT_TRUE(read);
    // Micro-units become milli-units; a discharge is a negative current.
    EXPECT_EQ(std::tuple(read->currentCapacity, read->amperage), std::tuple(2500, -1250));
    EXPECT_DOUBLE_EQ(*read->watts, 14.25);
    EXPECT_NEAR(*read->health(), 83.333, 1e-3);
    EXPECT_EQ(read->timeLeftText(), "02:00");

    // A counter that is no number is absent; a zero full capacity gives no charge.
    read = battery("type=Battery,status=Unknown,charge_now=1000000,charge_full=0,current_now=lots,"
                   "time_to_empty_now=600");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->currentCapacity, 1000);
    EXPECT_FALSE(read->isCharged || read->amperage || read->watts || read->charge());
    EXPECT_EQ(read->timeLeftText(), "-") << "charging or not is unknown";
}
