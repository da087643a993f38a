#include "MoneyText.h"

#include "Rounding.h"

QString balanceText(double amount) {
    const qint64 cents = Rounding::toCentsHalfEven(amount);
    const bool negative = cents < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(cents) : quint64(cents);
    QString units = magnitude >= 100 ? QString::number(magnitude / 100) : QString();
    for (qsizetype i = units.size() - 3; i > 0; i -= 3)
        units.insert(i, QLatin1Char(','));
    const QString text = units + QLatin1Char('.') + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + text : text;
}
