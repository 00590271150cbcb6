#include "catalog/SizeText.h"

namespace {

// Digits grouped by three with commas; "" for 0, as the pattern prints no
// leading zero.
QString groupedDigits(qint64 value)
{
    if (value == 0)
        return QString();
    const bool negative = value < 0;
    // Work on the unsigned magnitude so the smallest qint64 does not overflow.
    quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    const QString digits = QString::number(magnitude);
    QString grouped;
    grouped.reserve(digits.size() + digits.size() / 3 + 1);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped.append(QLatin1Char(','));
        grouped.append(digits.at(i));
    }
    return negative ? QLatin1Char('-') + grouped : grouped;
}

} // namespace

QString NumberText(qint64 value)
{
    return value == 0 ? QStringLiteral("0") : groupedDigits(value);
}

QString ShortSizeText(qint64 bytes)
{
    return groupedDigits(bytes);
}

QString LongSizeText(qint64 bytes)
{
    QString kilobytes;
    if (bytes <= 0) {
        kilobytes = QStringLiteral("0.");
    } else {
        // Hundredths of a KB, rounded half up, in integers so no binary
        // fraction can tip a rounding the wrong way. Split first so that
        // bytes * 100 cannot overflow.
        const qint64 whole = bytes / 1024;
        const qint64 rest = bytes % 1024;
        qint64 hundredths = (rest * 100 + 512) / 1024;
        qint64 units = whole;
        if (hundredths == 100) {
            ++units;
            hundredths = 0;
        }
        QString decimals;
        if (hundredths != 0) {
            decimals = QStringLiteral("%1").arg(hundredths, 2, 10, QLatin1Char('0'));
            if (decimals.endsWith(QLatin1Char('0')))
                decimals.chop(1);
        }
        kilobytes = groupedDigits(units) + QLatin1Char('.') + decimals;
    }
    return ShortSizeText(bytes) + QStringLiteral(" Byte (") + kilobytes + QStringLiteral(" KB)");
}
