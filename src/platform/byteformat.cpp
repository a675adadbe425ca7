#include "platform/byteformat.h"

#include <QLocale>

QString FormatByteSize(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes < 0 ? 0 : bytes);

    static const char* const units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    // Integer arithmetic: the digits are cut, never rounded.
    const unsigned __int128 value = static_cast<unsigned __int128>(bytes);
    unsigned __int128 divisor = 1024;
    int unit = 0;
    while (unit < 5 && value * 100 / divisor >= 100000) { // 1000 or more of this unit
        divisor *= 1024;
        ++unit;
    }
    const auto hundredths = static_cast<qint64>(value * 100 / divisor);
    const QString point = QLocale().decimalPoint();
    QString number;
    if (hundredths < 1000)
        number =
            QStringLiteral("%1%2%3").arg(hundredths / 100).arg(point).arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    else if (hundredths < 10000)
        number = QStringLiteral("%1%2%3").arg(hundredths / 100).arg(point).arg((hundredths % 100) / 10);
    else
        number = QString::number(hundredths / 100);
    return number + QLatin1Char(' ') + QLatin1String(units[unit]);
}
