#include "model/BadFile.h"

#include "platform/Diagnostics.h"

#include <QFile>
#include <QFileInfo>

std::optional<QString> BadFile::setAside(const QString& path, const QString& reason) {
    QString aside = path + QLatin1String(".bad");
    for (int number = 2; QFileInfo::exists(aside); ++number)
        aside = QStringLiteral("%1.%2.bad").arg(path).arg(number);
    if (!QFile::rename(path, aside)) {
        printLine(
            QStringLiteral("%1 is unusable (%2) and could not be set aside").arg(path, reason));
        return std::nullopt;
    }
    printLine(QStringLiteral("%1 is unusable (%2); set aside as %3").arg(path, reason, aside));
    return aside;
}
