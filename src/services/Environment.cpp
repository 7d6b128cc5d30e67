#include "services/Environment.h"

#include "BuildInfo.h"

namespace Environment {

QString appVersion() {
    const QString version = QStringLiteral(VARLIN_VERSION);
    return version.isEmpty() ? QStringLiteral("<unknown version>") : version;
}

QDate buildDate() {
    return QDate::fromString(QStringLiteral(VARLIN_BUILD_DATE), Qt::ISODate);
}

} // namespace Environment
