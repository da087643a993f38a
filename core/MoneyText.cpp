#include "MoneyText.h"

#include "Rounding.h"

QString groupedDecimal(qint64 units, int decimals) {
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    quint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    QString whole = QString::number(magnitude / scale);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, QLatin1Char(','));
    QString text = whole;
    if (decimals > 0)
        text += QLatin1Char('.') + QStringLiteral("%1").arg(magnitude % scale, decimals, 10, QLatin1Char('0'));
    return negative && magnitude != 0 ? QLatin1Char('-') + text : text;
}

QString plainDecimal(qint64 units, int decimals) {
    return groupedDecimal(units, decimals).remove(QLatin1Char(','));
}

QString balanceText(Money amount) {
    // "#,###,###.00": no digit before the point below 1.
    QString text = groupedDecimal(amount.cents(), 2);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    return text;
}
