#include "model/TextNote.h"

#include <QRegularExpression>

std::shared_ptr<TextNote> TextNote::parse(const QString& line) {
    static const QRegularExpression pattern(QStringLiteral("(\\d+):(\\d\\d)\\s*"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return nullptr;
    bool minutesOk = false;
    const qint64 minutes = match.capturedView(1).toLongLong(&minutesOk);
    if (!minutesOk)
        return nullptr;
    const int seconds = match.capturedView(2).toInt();
    return std::make_shared<TextNote>(double(minutes) * 60.0 + seconds,
                                      line.mid(match.capturedEnd(0)));
}
