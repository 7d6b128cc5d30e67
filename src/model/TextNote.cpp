#include "model/TextNote.h"

#include <QRegularExpression>

std::shared_ptr<TextNote> TextNote::parse(const QString& line) {
    static const QRegularExpression pattern(QStringLiteral("(\\d+):(\\d\\d)\\s*"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return nullptr;
    bool minutesOk = false;
    const qint64 minutes = match.capturedView(1).toLongLong(&minutesOk);
    // Beyond this the seconds are no longer whole numbers in a double, and a saved note would
    // come back at another time.
    constexpr qint64 mostMinutes = (qint64(1) << 53) / 60;
    if (!minutesOk || minutes > mostMinutes)
        return nullptr;
    const int seconds = match.capturedView(2).toInt();
    return std::make_shared<TextNote>(double(minutes) * 60.0 + seconds,
                                      line.mid(match.capturedEnd(0)));
}
