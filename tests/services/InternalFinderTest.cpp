#include "services/InternalFinder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A fake /sys/class/power_supply: one folder per supply, one file per attribute.
class FakeSysfs {
public:
    // `attributes` as "name=value,name=value".
    void add(const QString& supply, const QString& attributes) {
        QDir(root.path()).mkpath(supply);
        for (const QString& attribute : attributes.split(',')) {
            QFile file(root.filePath(supply + '/' + attribute.section('=', 0, 0)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write((attribute.section('=', 1) + '\n').toUtf8());
        }
    }
    InternalFinder finder() const { return InternalFinder(PowerSupplies(root.path())); }

    QTemporaryDir root;
};

} // namespace

TEST(InternalFinder, DischargingBatteryInChargeUnits) {
    FakeSysfs sysfs;
    sysfs.add("AC", "type=Mains,online=0");
    sysfs.add("BAT0", "type=Battery,status=Discharging,charge_now=2500000,charge_full=5000000,"
                      "charge_full_design=6000000,current_now=1250000,voltage_now=11400000,"
                      "cycle_count=321,temp=305,manufacturer=Brenmoor Cells,manufacture_year=2021,"
                      "manufacture_month=3,manufacture_day=14");
    InternalFinder finder = sysfs.finder();
    EXPECT_TRUE(finder.hasInternalBattery());
    const std::optional<InternalBattery> battery = finder.getInternalBattery();
    ASSERT_TRUE(battery);
    EXPECT_EQ(battery->name, "BAT0");
    EXPECT_EQ(battery->manufacturer, "Brenmoor Cells");
    EXPECT_EQ(battery->manufactureDate, QDate(2021, 3, 14));
    // Micro-units become milli-units; a discharge is a negative current.
    EXPECT_EQ(battery->currentCapacity, 2500);
    EXPECT_EQ(battery->designCapacity, 6000);
    EXPECT_EQ(battery->cycleCount, 321);
    EXPECT_EQ(battery->acPowered, false);
    EXPECT_EQ(battery->isCharging, false);
    EXPECT_EQ(battery->amperage, -1250);
    EXPECT_DOUBLE_EQ(*battery->watts, 14.25);
    EXPECT_DOUBLE_EQ(*battery->temperature, 30.5);
    EXPECT_DOUBLE_EQ(*battery->charge(), 50.0);
    EXPECT_NEAR(*battery->health(), 83.333, 1e-3);
    EXPECT_EQ(battery->timeLeftText(), "02:00");
}

TEST(InternalFinder, ChargingBatteryInEnergyUnitsAndAFullOne) {
    FakeSysfs sysfs;
    sysfs.add("ACAD", "type=Mains,online=1");
    sysfs.add("BAT1", "type=Battery,status=Charging,energy_now=30000000,energy_full=50000000,"
                      "energy_full_design=55000000,power_now=20000000,voltage_now=12000000,"
                      "voltage_min_design=10000000,time_to_full_now=3900");
    const std::optional<InternalBattery> battery = sysfs.finder().getInternalBattery();
    ASSERT_TRUE(battery);
    EXPECT_EQ(battery->currentCapacity, 3000);
    EXPECT_EQ(battery->maxCapacity, 5000);
    EXPECT_EQ(battery->acPowered, true);
    EXPECT_EQ(battery->isCharging, true);
    EXPECT_EQ(battery->amperage, 1667);
    EXPECT_NEAR(*battery->watts, 20.0, 0.01);
    EXPECT_EQ(battery->timeLeftText(), "01:05");

    // Without the kernel's estimate the time comes from the missing energy and the power.
    QFile::remove(sysfs.root.filePath("BAT1/time_to_full_now"));
    EXPECT_EQ(sysfs.finder().getInternalBattery()->timeToFull, 60);

    FakeSysfs full;
    full.add("BAT0", "type=Battery,status=Full,charge_now=5000000,charge_full=5000000,"
                     "current_now=0");
    const std::optional<InternalBattery> charged = full.finder().getInternalBattery();
    ASSERT_TRUE(charged);
    EXPECT_EQ(charged->isCharged, true);
    EXPECT_EQ(charged->isCharging, false);
    EXPECT_EQ(charged->timeLeftText(), "-");
    EXPECT_DOUBLE_EQ(*charged->charge(), 100.0);
}

TEST(InternalFinder, NoInternalBattery) {
    FakeSysfs sysfs;
    sysfs.add("AC", "type=Mains,online=1");
    sysfs.add("hid-mouse-battery", "type=Battery,scope=Device,capacity=40");
    InternalFinder finder = sysfs.finder();
    EXPECT_FALSE(finder.hasInternalBattery());
    EXPECT_FALSE(finder.getInternalBattery());

    // The answer is remembered; the reading is not.
    sysfs.add("BAT0", "type=Battery");
    EXPECT_FALSE(finder.hasInternalBattery());
    EXPECT_TRUE(finder.getInternalBattery());

    InternalFinder nowhere(PowerSupplies("/nonexistent/power_supply"));
    EXPECT_FALSE(nowhere.hasInternalBattery());
    EXPECT_FALSE(nowhere.getInternalBattery());
}

TEST(InternalFinder, MissingAndUnusableFilesLeaveFieldsAbsent) {
    FakeSysfs sysfs;
    sysfs.add("BAT0", "type=Battery,status=Unknown,charge_now=lots,charge_full=0,"
                      "current_now=900000,manufacture_year=2021,manufacture_month=13,"
                      "manufacture_day=1");
    const std::optional<InternalBattery> battery = sysfs.finder().getInternalBattery();
    ASSERT_TRUE(battery);
    EXPECT_FALSE(battery->isCharging);
    EXPECT_FALSE(battery->isCharged);
    EXPECT_FALSE(battery->currentCapacity);
    EXPECT_FALSE(battery->charge()) << "no division by a zero full capacity";
    EXPECT_FALSE(battery->health());
    EXPECT_FALSE(battery->manufactureDate);
    EXPECT_EQ(battery->amperage, 900);
    EXPECT_FALSE(battery->watts);
    EXPECT_FALSE(battery->timeLeft());
    EXPECT_EQ(battery->timeLeftText(), "-");
}

TEST(InternalBattery, TimeLeftFollowsTheChargingState) {
    InternalBattery battery;
    battery.timeToFull = 65;
    battery.timeToEmpty = 754;
    EXPECT_EQ(battery.timeLeftText(), "-") << "charging or not is unknown";
    battery.isCharging = true;
    EXPECT_EQ(battery.timeLeftText(), "01:05");
    battery.isCharging = false;
    EXPECT_EQ(battery.timeLeftText(), "12:34");
    battery.timeToEmpty = 0;
    EXPECT_EQ(battery.timeLeftText(), "-");
}
