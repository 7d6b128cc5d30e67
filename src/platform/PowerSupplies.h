#pragma once
// Reads the kernel's power-supply class (normally /sys/class/power_supply): one folder per
// supply, one small text file per attribute, in the kernel's units (µV, µA, µAh, µWh, µW, tenths
// of a degree Celsius, seconds). The root is a parameter so that tests can build fake trees.

#include <QString>
#include <QStringList>
#include <optional>

class PowerSupplies {
public:
    explicit PowerSupplies(QString root = QStringLiteral("/sys/class/power_supply"));

    // The supplies' names in sorted order; empty when the root cannot be read.
    QStringList names() const;

    // The attribute's text without its trailing newline; none when the file is missing.
    std::optional<QString> text(const QString& supply, const QString& attribute) const;
    // The attribute as an integer; none when missing or not a number.
    std::optional<qint64> number(const QString& supply, const QString& attribute) const;

private:
    QString root;
};
