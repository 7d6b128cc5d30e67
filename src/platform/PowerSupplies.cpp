#include "platform/PowerSupplies.h"

#include <QDir>
#include <QFile>

namespace {

// Attribute files are a few bytes; anything longer is not one.
constexpr qint64 longestAttribute = 4096;

} // namespace

PowerSupplies::PowerSupplies(QString root) : root(std::move(root)) {}

QStringList PowerSupplies::names() const {
    // Supplies are symbolic links in sysfs, so links to folders count.
    return QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

std::optional<QString> PowerSupplies::text(const QString& supply, const QString& attribute) const {
    QFile file(root + '/' + supply + '/' + attribute);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.read(longestAttribute)).trimmed();
}

std::optional<qint64> PowerSupplies::number(const QString& supply, const QString& attribute) const {
    const std::optional<QString> value = text(supply, attribute);
    if (!value)
        return std::nullopt;
    bool ok = false;
    const qint64 result = value->toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return result;
}
