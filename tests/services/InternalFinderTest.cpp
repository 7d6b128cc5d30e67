#include "services/InternalFinder.h"

#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A fake /sys/class/power_supply: one folder per supply, one file per attribute.
class FakeSysfs {
public:
    // `attributes` as "name=value,name=value".
    void add(const QString& supply, const QString& attributes) {
        QDir(root.path()).mkpath(supply);
        for (const QString& attribute : attributes.split(','))
            writeFile(root.filePath(supply + '/' + attribute.section('=', 0, 0)),
                      (attribute.section('=', 1) + '\n').toUtf8());
    }
    std::optional<InternalBattery> battery() const {
        return InternalFinder(PowerSupplies(root.path())).getInternalBattery();
    }

    QTemporaryDir root;
};

} // namespace

// Energy units, the temperature, the manufacture date, peripheral batteries and the remembered
// answer have no test of their own.
TEST(InternalFinder, ReadsTheBatteryAndLeavesUnusableFieldsAbsent) {
    FakeSysfs sysfs;
    sysfs.add("AC", "type=Mains,online=0");
    sysfs.add("BAT0", "type=Battery,status=Discharging,charge_now=2500000,charge_full=5000000,"
                      "charge_full_design=6000000,current_now=1250000,voltage_now=11400000");
    std::optional<InternalBattery> battery = sysfs.battery();
    ASSERT_TRUE(battery);
    // Micro-units become milli-units; a discharge is a negative current.
    EXPECT_EQ(std::tuple(battery->currentCapacity, battery->acPowered, battery->amperage),
              std::tuple(2500, false, -1250));
    EXPECT_DOUBLE_EQ(*battery->watts, 14.25);
    EXPECT_NEAR(*battery->health(), 83.333, 1e-3);
    EXPECT_EQ(battery->timeLeftText(), "02:00");

    FakeSysfs broken;
    broken.add("BAT0", "type=Battery,status=Unknown,charge_now=lots,charge_full=0,"
                       "current_now=900000,time_to_empty_now=600");
    battery = broken.battery();
    ASSERT_TRUE(battery);
    EXPECT_FALSE(battery->isCharged || battery->currentCapacity || battery->watts);
    EXPECT_FALSE(battery->charge()) << "no division by a zero full capacity";
    EXPECT_EQ(battery->timeLeftText(), "-") << "charging or not is unknown";
}
